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

// More bytes than this in one tile are not a tile anyone writes (they are a few hundred pixels
// a side): a damaged size, which would cost that much memory.
constexpr std::uint64_t kLargestTileBytes = std::uint64_t{256} << 20;

// One sample as a number: 16-bit samples come in the machine's order, and the a* and b* of
// CIE L*a*b* are signed.
double sampleAt(const std::uint8_t* samples, std::size_t index, int bits, bool isSigned) {
    if (bits == 8) {
        const std::uint8_t value = samples[index];
        return isSigned ? static_cast<std::int8_t>(value) : value;
    }
    std::uint16_t value = 0;
    std::memcpy(&value, samples + index * 2, 2);
    return isSigned ? static_cast<std::int16_t>(value) : value;
}

std::uint16_t toWord(double value) {
    return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 65535.0)));
}

// A pixel's colours in their own units (RGB and grey 0 to 1; L* 0 to 100, a* and b* as they
// are).
std::array<double, 3> coloursOf(const std::uint8_t* samples, std::size_t first,
                                const TiffDeepLayout& layout) {
    const double top = layout.bits == 8 ? 255.0 : 65535.0;
    if (!layout.lab) {
        const double level = sampleAt(samples, first, layout.bits, false) / top;
        if (layout.colours == 1) {
            return {level, level, level};
        }
        return {level, sampleAt(samples, first + 1, layout.bits, false) / top,
                sampleAt(samples, first + 2, layout.bits, false) / top};
    }
    const double lightness = sampleAt(samples, first, layout.bits, false) / top * 100;
    if (layout.unsignedAb) {
        // The whole range of the samples spans a* and b* from -128 to 127, as in a profile.
        return {lightness, sampleAt(samples, first + 1, layout.bits, false) / top * 255 - 128,
                sampleAt(samples, first + 2, layout.bits, false) / top * 255 - 128};
    }
    // 16-bit a* and b* count in 256ths.
    const double step = layout.bits == 8 ? 1.0 : 1.0 / 256;
    return {lightness, sampleAt(samples, first + 1, layout.bits, true) * step,
            sampleAt(samples, first + 2, layout.bits, true) * step};
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

// A run of stored pixels, laid onto white in the file's own colours, as the converter takes
// them: three words a pixel.
void wordsOf(const std::uint8_t* stored, std::size_t pixels, const TiffDeepLayout& layout,
             std::uint16_t* words) {
    const auto samples = static_cast<std::size_t>(layout.samples);
    const double top = layout.bits == 8 ? 255.0 : 65535.0;
    const std::array<double, 3> white =
        layout.lab ? std::array<double, 3>{100, 0, 0} : std::array<double, 3>{1, 1, 1};
    for (std::size_t x = 0; x < pixels; ++x) {
        const std::size_t first = x * samples;
        std::array<double, 3> colours = coloursOf(stored, first, layout);
        if (layout.alpha) {
            const double alpha = sampleAt(stored, first + static_cast<std::size_t>(layout.colours),
                                          layout.bits, false) /
                                 top;
            // What white adds where the pixel lets it through.
            for (int c = 0; c < 3; ++c) {
                const double own = layout.premultiplied ? colours[c] : colours[c] * alpha;
                colours[c] = own + white[c] * (1 - alpha);
            }
        }
        encode(colours, layout.lab, words + x * 3);
    }
}

std::uint64_t pixelBytes(const TiffDeepLayout& layout) {
    return static_cast<std::uint64_t>(layout.samples) * static_cast<std::uint64_t>(layout.bits / 8);
}

bool readStrips(TIFF* tiff, const TiffDeepLayout& layout, Bitmap& bitmap,
                const ColourConverter& converter) {
    const auto width = static_cast<std::size_t>(bitmap.width());
    const std::uint64_t rowBytes = width * pixelBytes(layout);
    if (static_cast<std::uint64_t>(TIFFScanlineSize64(tiff)) != rowBytes) {
        return false;
    }
    std::vector<std::uint8_t> stored(rowBytes);
    std::vector<std::uint16_t> words(width * 3);
    for (int y = 0; y < bitmap.height(); ++y) {
        if (TIFFReadScanline(tiff, stored.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            return false;
        }
        wordsOf(stored.data(), width, layout, words.data());
        converter.convert(words.data(), bitmap.row(y), width);
    }
    return true;
}

// One tile at a time, each cropped to the picture where it crosses the right or bottom edge.
bool readTiles(TIFF* tiff, const TiffDeepLayout& layout, Bitmap& bitmap,
               const ColourConverter& converter) {
    std::uint32_t tileWidth = 0;
    std::uint32_t tileLength = 0;
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileLength);
    if (tileWidth == 0 || tileLength == 0) {
        return false;
    }
    // Neither product can overflow: a row of a tile is below 2^36 bytes, and a tile that
    // passes the first test below 2^60.
    const std::uint64_t tileRowBytes = tileWidth * pixelBytes(layout);
    if (tileRowBytes > kLargestTileBytes || tileRowBytes * tileLength > kLargestTileBytes) {
        return false;
    }
    const std::uint64_t tileBytes = tileRowBytes * tileLength;
    const auto width = static_cast<std::uint64_t>(bitmap.width());
    const auto height = static_cast<std::uint64_t>(bitmap.height());
    const std::uint64_t across = (width + tileWidth - 1) / tileWidth;
    const std::uint64_t down = (height + tileLength - 1) / tileLength;
    // libtiff counts no tiles when its count overflows.
    if (static_cast<std::uint64_t>(TIFFTileSize64(tiff)) != tileBytes ||
        across * down > TIFFNumberOfTiles(tiff)) {
        return false;
    }
    std::vector<std::uint8_t> tile(tileBytes);
    std::vector<std::uint16_t> words(std::min<std::uint64_t>(tileWidth, width) * 3);
    for (std::uint64_t top = 0; top < height; top += tileLength) {
        const std::uint64_t rows = std::min<std::uint64_t>(tileLength, height - top);
        for (std::uint64_t left = 0; left < width; left += tileWidth) {
            const ttile_t index = TIFFComputeTile(tiff, static_cast<std::uint32_t>(left),
                                                  static_cast<std::uint32_t>(top), 0, 0);
            if (TIFFReadEncodedTile(tiff, index, tile.data(), static_cast<tmsize_t>(tileBytes)) !=
                static_cast<tmsize_t>(tileBytes)) {
                return false;
            }
            const std::uint64_t pixels = std::min<std::uint64_t>(tileWidth, width - left);
            for (std::uint64_t row = 0; row < rows; ++row) {
                wordsOf(tile.data() + row * tileRowBytes, pixels, layout, words.data());
                converter.convert(words.data(), bitmap.row(static_cast<int>(top + row)) + left * 3,
                                  pixels);
            }
        }
    }
    return true;
}

} // namespace

std::optional<TiffDeepLayout> tiffDeepLayout(TIFF* tiff) {
    std::uint16_t photometric = 0;
    std::uint16_t samples = 0;
    std::uint16_t bits = 0;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    std::uint16_t format = SAMPLEFORMAT_UINT;
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) == 0) {
        return std::nullopt;
    }
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TiffDeepLayout layout;
    layout.samples = samples;
    layout.bits = bits;
    layout.lab = photometric == PHOTOMETRIC_CIELAB || photometric == PHOTOMETRIC_ICCLAB;
    layout.unsignedAb = photometric == PHOTOMETRIC_ICCLAB;
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
    return TIFFIsTiled(tiff) ? readTiles(tiff, layout, bitmap, converter)
                             : readStrips(tiff, layout, bitmap, converter);
}

} // namespace vellumar
