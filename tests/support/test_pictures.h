#pragma once

#include "imaging/bitmap.h"

namespace vellumar::testing {

// A colour that tells where it came from: red is x, green is y (both below 256).
inline Rgb markOf(int x, int y) {
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 77};
}

// Every pixel carries its own position as markOf(x, y).
inline Bitmap markedPicture(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y, markOf(x, y));
        }
    }
    return bitmap;
}

inline Bitmap filledPicture(int width, int height, Rgb colour) {
    Bitmap bitmap(width, height);
    bitmap.fill(colour);
    return bitmap;
}

} // namespace vellumar::testing
