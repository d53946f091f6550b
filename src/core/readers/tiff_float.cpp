#include "tiff_float.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "project_error.h"

namespace vellumar {

namespace {

[[noreturn]] void refuse(const std::string& reason) {
    throw ProjectError("the TIFF data cannot be decoded: " + reason);
}

// How the samples of a row are laid out and what they mean.
struct FloatLayout {
    int samples = 0;    // per pixel
    int colours = 0;    // 1 grey, 3 RGB
    bool alpha = false; // the sample after the colours
    bool premultiplied = false;
    bool planes = false; // each sample in a plane of its own
    int bytes = 0;       // per sample: 2, 4 or 8
};

FloatLayout layoutOf(TIFF* tiff) {
    std::uint16_t bits = 0;
    std::uint16_t samples = 0;
    std::uint16_t photometric = 0;
    std::uint16_t planar = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) == 0) {
        photometric = samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    }
    if (bits != 16 && bits != 32 && bits != 64) {
        refuse("floating-point samples of " + std::to_string(bits) + " bits are not supported");
    }
    if (TIFFIsTiled(tiff)) {
        refuse("floating-point samples in tiles are not supported");
    }
    FloatLayout layout;
    layout.samples = samples;
    layout.bytes = bits / 8;
    layout.planes = planar == PLANARCONFIG_SEPARATE;
    if (photometric == PHOTOMETRIC_MINISBLACK && (samples == 1 || samples == 2)) {
        layout.colours = 1;
    } else if (photometric == PHOTOMETRIC_RGB && (samples == 3 || samples == 4)) {
        layout.colours = 3;
    } else {
        refuse("floating-point samples are supported for grey and RGB pictures only");
    }
    layout.alpha = samples > layout.colours;
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    if (layout.alpha && TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) != 0 &&
        extraCount > 0) {
        layout.premultiplied = extra[0] == EXTRASAMPLE_ASSOCALPHA;
    }
    return layout;
}

// A 16-bit float: a sign, 5 bits of exponent biased by 15, 10 bits of fraction.
double halfFloat(std::uint16_t bits) {
    const int exponent = (bits >> 10) & 0x1F;
    const int fraction = bits & 0x3FF;
    double value = 0;
    if (exponent == 0) {
        value = std::ldexp(fraction, -24);
    } else if (exponent == 0x1F) {
        value = fraction != 0 ? std::nan("") : HUGE_VAL;
    } else {
        value = std::ldexp(fraction + 0x400, exponent - 25);
    }
    return (bits & 0x8000) != 0 ? -value : value;
}

double sampleAt(const std::vector<std::uint8_t>& row, std::size_t index, int bytes) {
    if (bytes == 2) {
        std::uint16_t value = 0;
        std::memcpy(&value, row.data() + index * 2, 2);
        return halfFloat(value);
    }
    if (bytes == 4) {
        float value = 0;
        std::memcpy(&value, row.data() + index * 4, 4);
        return value;
    }
    double value = 0;
    std::memcpy(&value, row.data() + index * 8, 8);
    return value;
}

// A sample of 0 to 1 (clamped; NaN counts as 0) as a fraction.
double unit(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

std::uint8_t toByte(double fraction) {
    return static_cast<std::uint8_t>(std::lround(fraction * 255.0));
}

} // namespace

bool hasFloatSamples(TIFF* tiff) {
    std::uint16_t format = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    return format == SAMPLEFORMAT_IEEEFP;
}

bool readFloatRows(TIFF* tiff, Bitmap& bitmap) {
    const FloatLayout layout = layoutOf(tiff);
    const auto width = static_cast<std::size_t>(bitmap.width());
    const int planes = layout.planes ? layout.samples : 1;
    const std::size_t perRow = layout.planes ? 1 : static_cast<std::size_t>(layout.samples);
    const std::size_t rowBytes = width * perRow * static_cast<std::size_t>(layout.bytes);
    if (TIFFScanlineSize64(tiff) != static_cast<std::uint64_t>(rowBytes)) {
        refuse("the rows of floating-point samples have an unexpected length");
    }
    std::vector<std::vector<std::uint8_t>> rows(static_cast<std::size_t>(planes),
                                                std::vector<std::uint8_t>(rowBytes));
    // Each plane's sample s of pixel x: plane s at x, or the only plane at x * samples + s.
    const auto sample = [&](std::size_t x, int s) {
        return layout.planes
                   ? sampleAt(rows[static_cast<std::size_t>(s)], x, layout.bytes)
                   : sampleAt(rows[0], x * perRow + static_cast<std::size_t>(s), layout.bytes);
    };
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int plane = 0; plane < planes; ++plane) {
            if (TIFFReadScanline(tiff, rows[static_cast<std::size_t>(plane)].data(),
                                 static_cast<std::uint32_t>(y),
                                 static_cast<std::uint16_t>(plane)) < 0) {
                return false;
            }
        }
        std::uint8_t* out = bitmap.row(y);
        for (std::size_t x = 0; x < width; ++x) {
            const double alpha = layout.alpha ? unit(sample(x, layout.colours)) : 1.0;
            // What white adds where the pixel lets it through.
            const double white = 1.0 - alpha;
            for (int c = 0; c < 3; ++c) {
                const double value = unit(sample(x, layout.colours == 1 ? 0 : c));
                *out++ =
                    toByte(std::min(1.0, (layout.premultiplied ? value : value * alpha) + white));
            }
        }
    }
    return true;
}

} // namespace vellumar
