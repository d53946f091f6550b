#pragma once

#include <cstdint>
#include <span>

#include "imaging/bitmap.h"

namespace vellumar {

// Lays a picture with transparency onto a white background, as readers hand back opaque
// pictures only. alpha holds one value a pixel, row by row from the top (0 transparent,
// 255 opaque); the bitmap becomes 24-bit.
void compositeOntoWhite(Bitmap& bitmap, std::span<const std::uint8_t> alpha);

// One row of width RGBA pixels laid onto white as RGB; with a spacing, into every spacing-th
// pixel of rgb (the row of an interlaced picture's pass).
void rgbaRowOntoWhite(const std::uint8_t* rgba, int width, std::uint8_t* rgb, int spacing = 1);

// A picture from a library's RGBA rows (four bytes a pixel, rowStride bytes apart) laid onto
// white. The caller has checked the size.
Bitmap rgbaOntoWhite(const std::uint8_t* rgba, std::size_t rowStride, int width, int height);

// A picture a library decoded as RGBA into rgba (four bytes a pixel, rows without padding)
// laid onto white where it lies: the buffer becomes the bitmap, so no second picture is
// allocated. The caller has checked the size.
Bitmap rgbaOntoWhiteInPlace(PixelBuffer rgba, int width, int height);

} // namespace vellumar
