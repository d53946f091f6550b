#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Enhanced (32-bit) metafiles.
//
// The picture's size: the header's frame (hundredths of a millimetre) in pixels of the
// reference device the header describes, or its bounds when the frame is unusable. Logical
// coordinates are mapped by the window and viewport records (their extents count in the
// isotropic and anisotropic mapping modes only).
//
// Drawn: stock and created solid pens and brushes, lines, polylines, polygons,
// poly-polygons (32- and 16-bit points), rectangles, ellipses, and device-independent
// bitmaps (StretchDIBits, SetDIBitsToDevice, BitBlt and StretchBlt with a source bitmap).
// Text, curves, paths, clipping, transforms and the remaining records are skipped.
bool looksLikeEmf(Bytes bytes);
PictureSize probeEmf(Bytes bytes);
Bitmap playEmf(Bytes bytes);

} // namespace vellumar
