#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Whether a PNG's transparency can be laid onto white one row at a time with the pixels its
// whole-picture reading gave: all but 16-bit interlaced pictures. libpng's simplified reading
// (1.6.39) puts the rows of later passes of those in place of earlier rows, so their pixels
// differ from the rows' own; they keep the whole-picture reading until that is settled.
// Looks at the header only.
bool pngRowsOntoWhiteSuit(Bytes bytes);

// Whether the PNG has transparency at all: an alpha channel or a tRNS chunk.
bool pngHasTransparency(Bytes bytes);

// Decodes a PNG with transparency (an alpha channel or a tRNS chunk) row by row into bitmap,
// which has its size, each pixel laid onto white as it comes, so that no RGBA copy of the
// whole picture is ever made. The rows go through the transformations libpng's simplified
// reading applies for 8-bit RGBA with 16-bit samples taken as sRGB, its gamma handling
// included, so every pixel is the one that reading gives. libpng's failures are raised as
// "the PNG data cannot be decoded: <libpng's message>".
void readPngRowsOntoWhite(Bytes bytes, Bitmap& bitmap);

} // namespace vellumar
