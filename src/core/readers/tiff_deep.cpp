#include "tiff_deep.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "colour/colour_conversion.h"

namespace vellumar {

namespace {

// More extra samples than this are not pictures anyone makes; libtiff reads those.
constexpr int kMostExtraSamples = 4;

// One sample of a row as a number: 16-bit samples come in the machine's order, and the
// a* and b* of L*a*b* are signed.
double sampleAt(const std::vector<std::uint8_t>& row, std::size_t index, int bits, bool isSigned) {
    if (bits == 8) {
        const std::uint8_t value = row[index];
        return isSigned ? static_cast<std::int8_t>(value) : value;
    }
    std::uint16_t value = 0;
    std::memcpy(&value, row.data() + index * 2, 2);
    return isSigned ? static_cast<std::int16_t>(value) : value;
}

std::uint16_t toWord(double value) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 65535.0)));
}

// A pixel's colours in their own units (RGB and grey 0 to 1; L* 0 to 100, a* and b* as they
// are) and what white is in them.
std::array<double, 3> coloursOf(const std::vector<std::uint8_t>& row, std::size_t first,
                                const TiffDeepLayout& layout) {
    const double top = layout.bits == 8 ? 255.0 : 65535.0;
    if (!layout.lab) {
        const double level = sampleAt(row, first, layout.bits, false) / top;
        if (layout.colours == 1) {
            return {level, level, level};
        }
        return {level, sampleAt(row, first + 1, layout.bits, false) / top,
                sampleAt(row, first + 2, layout.bits, false) / top};
    }
    // 16-bit a* and b* count in 256ths.
    const double step = layout.bits == 8 ? 1.0 : 1.0 / 256;
    return {sampleAt(row, first, layout.bits, false) / top * 100,
            sampleAt(row, first + 1, layout.bits, true) * step,
            sampleAt(row, first + 2, layout.bits, true) * step};
}

// The pixel as the converter takes it.
void encode(const std::array<double, 3>& colours, bool lab, std::uint16_t* out) {
    if (lab) {
        out[0] = toWord(colours[0] / 100 * 65535);
        out[1] = toWord((colours[1] + 128) * 257);
        out[2] = toWord((colours[2] + 128) * 257);
        return;
    }
    for (int c = 0; c < 3; ++c) {
        out[c] = toWord(colours[c] * 65535);
    }
}

} // namespace

std::optional<TiffDeepLayout> tiffDeepLayout(TIFF* tiff) {
    std::uint16_t photometric = 0;
    std::uint16_t samples = 0;
    std::uint16_t bits = 0;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t format = SAMPLEFORMAT_UINT;
    if (TIFFIsTiled(tiff) || TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) == 0) {
        return std::nullopt;
    }
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TiffDeepLayout layout;
    layout.samples = samples;
    layout.bits = bits;
    layout.lab = photometric == PHOTOMETRIC_CIELAB;
    if (layout.lab && (bits == 8 || bits == 16)) {
        layout.colours = 3;
    } else if (photometric == PHOTOMETRIC_RGB && bits == 16 && format == SAMPLEFORMAT_UINT) {
        layout.colours = 3;
    } else if (photometric == PHOTOMETRIC_MINISBLACK && bits == 16 && format == SAMPLEFORMAT_UINT) {
        layout.colours = 1;
    } else {
        return std::nullopt;
    }
    if (planar != PLANARCONFIG_CONTIG || samples < layout.colours ||
        samples > layout.colours + kMostExtraSamples) {
        return std::nullopt;
    }
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    const bool described = TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) != 0 &&
                           extraCount > 0 && extra != nullptr;
    layout.alpha = samples > layout.colours && (!described || extra[0] != EXTRASAMPLE_UNSPECIFIED);
    layout.premultiplied = layout.alpha && described && extra[0] == EXTRASAMPLE_ASSOCALPHA;
    return layout;
}

bool readTiffDeepRows(TIFF* tiff, const TiffDeepLayout& layout, Bitmap& bitmap,
                      const ColourConverter& converter) {
    const auto width = static_cast<std::size_t>(bitmap.width());
    const auto samples = static_cast<std::size_t>(layout.samples);
    const std::size_t rowBytes = width * samples * static_cast<std::size_t>(layout.bits / 8);
    if (TIFFScanlineSize64(tiff) != static_cast<std::uint64_t>(rowBytes)) {
        return false;
    }
    const double top = layout.bits == 8 ? 255.0 : 65535.0;
    const std::array<double, 3> white =
        layout.lab ? std::array<double, 3>{100, 0, 0} : std::array<double, 3>{1, 1, 1};
    std::vector<std::uint8_t> stored(rowBytes);
    std::vector<std::uint16_t> words(width * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
        if (TIFFReadScanline(tiff, stored.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            return false;
        }
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t first = x * samples;
            std::array<double, 3> colours = coloursOf(stored, first, layout);
            if (layout.alpha) {
                const double alpha =
                    sampleAt(stored, first + static_cast<std::size_t>(layout.colours), layout.bits,
                             false) /
                    top;
                // What white adds where the pixel lets it through.
                for (int c = 0; c < 3; ++c) {
                    const double own = layout.premultiplied ? colours[c] : colours[c] * alpha;
                    colours[c] = own + white[c] * (1 - alpha);
                }
            }
            encode(colours, layout.lab, words.data() + x * 3);
        }
        converter.convert(words.data(), bitmap.row(y), width);
    }
    return true;
}

} // namespace vellumar
