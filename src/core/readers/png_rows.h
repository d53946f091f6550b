#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Whether a PNG is read row by row rather than through libpng's simplified reading: one with
// transparency (an alpha channel or a tRNS chunk), so that each row is laid onto white as it
// comes instead of through an RGBA copy of the whole picture, and an interlaced one of 16-bit
// samples, whose rows the simplified reading (libpng 1.6.39) puts in place of one another.
// Looks at the chunks ahead of the picture data only.
bool pngReadsByRows(Bytes bytes);

// Decodes a PNG row by row into bitmap, which has its size, each pixel laid onto white as it
// comes (an opaque one stays as it is), so that no RGBA copy of the whole picture is ever
// made. The rows go through the transformations libpng's simplified
// reading applies for 8-bit RGBA with 16-bit samples taken as sRGB, its gamma handling
// included, so every pixel is the one that reading gives. libpng's failures are raised as
// "the PNG data cannot be decoded: <libpng's message>".
void readPngRowsOntoWhite(Bytes bytes, Bitmap& bitmap);

} // namespace vellumar
