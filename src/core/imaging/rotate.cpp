#include "rotate.h"

#include <algorithm>
#include <cstring>

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

// (x, y) -> (w - 1 - x, h - 1 - y): rows in reverse order, each read backwards.
void turnHalf(const Bitmap& source, Bitmap& target) {
    const int w = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const std::uint8_t* in = source.row(y) + static_cast<std::size_t>(w) * 3;
        std::uint8_t* out = target.row(source.height() - 1 - y);
        for (int x = 0; x < w; ++x, out += 3) {
            in -= 3;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

} // namespace

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
        Bitmap result = Bitmap::uninitialized(rgb.width(), rgb.height());
        turnHalf(rgb, result);
        return result;
    }
    default:
        return rgb;
    }
}

} // namespace vellumar
