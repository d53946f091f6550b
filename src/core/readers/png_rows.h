#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Whether a PNG's transparency can be laid onto white one row at a time, so that no RGBA
// copy of the whole picture is needed: 8-bit grey or RGB with alpha, not interlaced, without
// a gamma of its own (which libpng's whole-picture reading would convert). Looks at the
// chunks ahead of the picture data only.
bool pngRowsOntoWhiteSuit(Bytes bytes);

// Whether the PNG has transparency at all: an alpha channel or a tRNS chunk.
bool pngHasTransparency(Bytes bytes);

// Decodes a PNG that pngRowsOntoWhiteSuit row by row into bitmap, which has its size, each
// row laid onto white as it comes. libpng's failures are raised as "the PNG data cannot be
// decoded: <libpng's message>".
void readPngRowsOntoWhite(Bytes bytes, Bitmap& bitmap);

} // namespace vellumar
