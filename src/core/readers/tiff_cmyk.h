#pragma once

#include <tiffio.h>

#include "imaging/bitmap.h"

namespace vellumar {

class ColourConverter;

// Whether the TIFF's first page holds CMYK ink that readTiffCmykRows can read: 8-bit samples,
// four to a pixel, interleaved, in strips.
bool holdsPlainCmyk(TIFF* tiff);

// Reads the ink of every row and converts it into bitmap, which has the picture's size.
// False when libtiff fails to read a row.
bool readTiffCmykRows(TIFF* tiff, Bitmap& bitmap, const ColourConverter& converter);

} // namespace vellumar
