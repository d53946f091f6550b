#pragma once

#include <tiffio.h>

#include "imaging/bitmap.h"

namespace vellumar {

// Whether the TIFF's samples are floating-point numbers, which libtiff reads but does not
// turn into RGBA.
bool hasFloatSamples(TIFF* tiff);

// Reads a TIFF of 16-, 32- or 64-bit floating-point samples in strips (grey or RGB, each
// with an optional alpha, interleaved or in planes) into bitmap, which has its size: 0 to 1
// become 0 to 255, values outside are clamped and NaN is 0; alpha lays the picture onto
// white. Other layouts are refused as "the TIFF data cannot be decoded: ..."; false when
// libtiff fails to read a row, having reported why.
bool readFloatRows(TIFF* tiff, Bitmap& bitmap);

} // namespace vellumar
