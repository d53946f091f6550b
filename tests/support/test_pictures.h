#pragma once

#include <algorithm>
#include <cstddef>

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

// Same size and the same colour in every pixel.
inline bool samePixels(const Bitmap& a, const Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    const auto rowBytes = static_cast<std::size_t>(a.width()) * 3;
    for (int y = 0; y < a.height(); ++y) {
        if (!std::equal(a.row(y), a.row(y) + rowBytes, b.row(y))) {
            return false;
        }
    }
    return true;
}

} // namespace vellumar::testing
