#include "tiff_cmyk.h"

#include <vector>

#include "colour/colour_conversion.h"

namespace vellumar {

bool holdsPlainCmyk(TIFF* tiff) {
    std::uint16_t photometric = 0;
    std::uint16_t samples = 0;
    std::uint16_t bits = 0;
    std::uint16_t planar = 0;
    std::uint16_t inks = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
    return photometric == PHOTOMETRIC_SEPARATED && samples == 4 && bits == 8 &&
           planar == PLANARCONFIG_CONTIG && inks == INKSET_CMYK && !TIFFIsTiled(tiff);
}

bool readTiffCmykRows(TIFF* tiff, Bitmap& bitmap, const ColourConverter& converter) {
    const auto width = static_cast<std::size_t>(bitmap.width());
    if (TIFFScanlineSize64(tiff) != static_cast<std::uint64_t>(width) * 4) {
        return false;
    }
    std::vector<std::uint8_t> ink(width * 4);
    for (int y = 0; y < bitmap.height(); ++y) {
        if (TIFFReadScanline(tiff, ink.data(), static_cast<std::uint32_t>(y), 0) < 0) {
            return false;
        }
        converter.convert(ink.data(), bitmap.row(y), width);
    }
    return true;
}

} // namespace vellumar
