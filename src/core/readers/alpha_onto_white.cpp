#include "alpha_onto_white.h"

#include <utility>

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

Bitmap rgbaOntoWhiteInPlace(PixelBuffer rgba, int width, int height) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint8_t* bytes = rgba.data();
    // A pixel's three bytes end before the next pixel's four begin, and its own four are read
    // before they are written over.
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* in = bytes + i * 4;
        const std::uint8_t red = in[0];
        const std::uint8_t green = in[1];
        const std::uint8_t blue = in[2];
        const std::uint8_t alpha = in[3];
        std::uint8_t* out = bytes + i * 3;
        out[0] = overWhite(red, alpha);
        out[1] = overWhite(green, alpha);
        out[2] = overWhite(blue, alpha);
    }
    return Bitmap::adopting(width, height, std::move(rgba));
}

} // namespace vellumar
