#include "alpha_onto_white.h"

namespace vellumar {

void compositeOntoWhite(Bitmap& bitmap, std::span<const std::uint8_t> alpha) {
    bitmap.convertToRgb24();
    const std::uint8_t* a = alpha.data();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, ++a) {
            for (int c = 0; c < 3; ++c, ++p) {
                *p = static_cast<std::uint8_t>((*p * *a + 255 * (255 - *a) + 127) / 255);
            }
        }
    }
}

} // namespace vellumar
