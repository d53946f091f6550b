#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Windows metafiles (16-bit records), with or without the placeable header.
//
// The picture's size: the placeable header's bounding box at 96 pixels an inch (its units
// per inch given in the header), or else the first window extent the records set. The
// window (logical space) is mapped onto the whole picture unless the records set a
// viewport of their own.
//
// Drawn: solid pens and brushes, lines, polylines, polygons, poly-polygons, rectangles,
// ellipses, and device-independent bitmaps (StretchDIB, DIBStretchBlt, DIBBitBlt,
// SetDIBitsToDevice). Text, clipping, raster operations other than copying and the
// remaining records are skipped.
bool looksLikeWmf(Bytes bytes);
PictureSize probeWmf(Bytes bytes);
Bitmap playWmf(Bytes bytes);

} // namespace vellumar
