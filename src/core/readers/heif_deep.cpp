#include "heif_deep.h"

#include <algorithm>
#include <vector>

#include "colour/colour_conversion.h"
#include "readers/colour_math.h"

namespace vellumar {

bool heifHasDeepSamples(const heif_image_handle* handle) {
    return heif_image_handle_get_luma_bits_per_pixel(handle) > 8 ||
           heif_image_handle_get_chroma_bits_per_pixel(handle) > 8;
}

void convertHeifDeepRows(const std::uint8_t* plane, std::size_t stride, int bits, bool alpha,
                         Bitmap& bitmap, const ColourConverter& converter) {
    const auto width = static_cast<std::size_t>(bitmap.width());
    const std::size_t channels = alpha ? 4 : 3;
    const auto significant = static_cast<unsigned>(bits);
    const std::uint32_t top = (1u << significant) - 1;
    std::vector<std::uint16_t> words(width * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* in = plane + static_cast<std::size_t>(y) * stride;
        for (std::size_t x = 0; x < width; ++x, in += channels * 2) {
            const auto sample = [&](std::size_t c) {
                const auto value = static_cast<std::uint32_t>(in[2 * c] | in[2 * c + 1] << 8);
                return scaleToWord(std::min(value, top), significant);
            };
            const std::uint32_t coverage = alpha ? sample(3) : 65535;
            for (std::size_t c = 0; c < 3; ++c) {
                words[x * 3 + c] = overWhite16(sample(c), coverage);
            }
        }
        converter.convert(words.data(), bitmap.row(y), width);
    }
}

} // namespace vellumar
