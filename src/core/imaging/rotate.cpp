#include "rotate.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "imaging/raster.h"

namespace vellumar {

namespace {

// Clockwise (x, y) goes to (h - 1 - y, x), counter-clockwise to (y, w - 1 - x). Each source
// row becomes a target column, so the picture is walked in square tiles that stay in cache.
void turnQuarter(const Bitmap& source, Bitmap& target, bool clockwise) {
    constexpr int kTile = 64;
    const int w = source.width();
    const int h = source.height();
    for (int tileY = 0; tileY < h; tileY += kTile) {
        for (int tileX = 0; tileX < w; tileX += kTile) {
            const int endY = std::min(tileY + kTile, h);
            const int endX = std::min(tileX + kTile, w);
            for (int y = tileY; y < endY; ++y) {
                const std::uint8_t* in = source.row(y) + static_cast<std::size_t>(tileX) * 3;
                for (int x = tileX; x < endX; ++x, in += 3) {
                    const int targetX = clockwise ? h - 1 - y : y;
                    const int targetY = clockwise ? x : w - 1 - x;
                    std::memcpy(target.row(targetY) + static_cast<std::size_t>(targetX) * 3, in, 3);
                }
            }
        }
    }
}

} // namespace

void turnHalfInPlace(Bitmap& picture) {
    // Reading the pixels backwards is reversing the whole pixel sequence: swap from both ends.
    if (picture.isEmpty()) {
        return;
    }
    std::uint8_t* first = picture.row(0);
    std::uint8_t* last = picture.row(picture.height() - 1) + (picture.stride() - 3);
    for (; first < last; first += 3, last -= 3) {
        std::swap_ranges(first, first + 3, last);
    }
}

bool rotationCopies(int angle) {
    return angle == 90 || angle == 270;
}

Bitmap Rotate(Bitmap&& picture, int angle) {
    if (rotationCopies(angle)) {
        return Rotate(std::as_const(picture), angle);
    }
    picture.convertToRgb24();
    if (angle == 180) {
        turnHalfInPlace(picture);
    }
    return std::move(picture);
}

Bitmap Rotate(const Bitmap& source, int angle) {
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    switch (angle) {
    case 90:
    case 270: {
        Bitmap result = Bitmap::uninitialized(rgb.height(), rgb.width());
        turnQuarter(rgb, result, angle == 90);
        return result;
    }
    case 180: {
        Bitmap result = rgb;
        turnHalfInPlace(result);
        return result;
    }
    default:
        return rgb;
    }
}

int quarterTurnsToDegrees(int rotate) {
    return rotate >= 0 && rotate <= 3 ? rotate * 90 : 0;
}

} // namespace vellumar
