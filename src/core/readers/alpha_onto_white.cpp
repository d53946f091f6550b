#include "alpha_onto_white.h"

#include "readers/colour_math.h"

namespace vellumar {

void compositeOntoWhite(Bitmap& bitmap, std::span<const std::uint8_t> alpha) {
    bitmap.convertToRgb24();
    const std::uint8_t* a = alpha.data();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, ++a) {
            for (int c = 0; c < 3; ++c, ++p) {
                *p = overWhite(*p, *a);
            }
        }
    }
}

void rgbaRowOntoWhite(const std::uint8_t* rgba, int width, std::uint8_t* rgb, int spacing) {
    const std::size_t step = static_cast<std::size_t>(spacing) * 3;
    for (int x = 0; x < width; ++x, rgba += 4, rgb += step) {
        for (int c = 0; c < 3; ++c) {
            rgb[c] = overWhite(rgba[c], rgba[3]);
        }
    }
}

Bitmap rgbaOntoWhite(const std::uint8_t* rgba, std::size_t rowStride, int width, int height) {
    Bitmap bitmap = Bitmap::uninitialized(width, height);
    for (int y = 0; y < height; ++y) {
        rgbaRowOntoWhite(rgba + static_cast<std::size_t>(y) * rowStride, width, bitmap.row(y));
    }
    return bitmap;
}

} // namespace vellumar
