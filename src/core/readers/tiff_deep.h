#pragma once

#include <optional>
#include <tiffio.h>

#include "imaging/bitmap.h"

namespace vellumar {

class ColourConverter;

// A TIFF's first page whose samples are converted while they are read, before they are cut
// to 8 bits: grey or RGB of 16-bit samples, and L*a*b* of 8 or 16 (the a* and b* signed, or
// unsigned as profiles store them), each with an optional alpha, interleaved, in strips or
// tiles.
struct TiffDeepLayout {
    int colours = 0;    // 1 grey, 3 RGB or L*a*b*
    int samples = 0;    // per pixel: the colours and their extra samples
    bool alpha = false; // the first extra sample
    bool premultiplied = false;
    int bits = 0; // per sample
    bool lab = false;
    bool unsignedAb = false; // a* and b* from -128 to 127 over the samples' whole range
};

// The layout, or nothing when the page holds another kind of samples, which libtiff turns
// into 8-bit RGBA instead.
std::optional<TiffDeepLayout> tiffDeepLayout(TIFF* tiff);

// Reads every row, lays it onto white in the file's own colours and converts it into bitmap,
// which has the picture's size. The converter takes SampleLayout::Lab16 for L*a*b* and
// SampleLayout::Rgb16 otherwise. Tiles are read one at a time. False when libtiff fails to
// read a row or a tile, or when its rows or tiles are not the size the layout says.
bool readTiffDeepRows(TIFF* tiff, const TiffDeepLayout& layout, Bitmap& bitmap,
                      const ColourConverter& converter);

} // namespace vellumar
