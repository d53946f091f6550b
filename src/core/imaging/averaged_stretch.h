#pragma once

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// Scales source onto a new 24-bit bitmap of width x height in which every pixel is the mean
// of the source area it covers, each source pixel weighted by how much of it lies inside.
// A reduction thereby blends every source pixel into the result instead of dropping most of
// them, which keeps the thumbnail of a large photograph free of aliasing and grain. Rows
// first, then columns, in fixed-point arithmetic; either size 0 gives an empty bitmap.
Bitmap stretchAveraged(const Bitmap& source, int width, int height);

// The same for a picture reduced while it was decoded: source is a picture of fullSize with
// each side divided by reduction and rounded up, so its last column and row stand for only
// what was left of the full picture. The areas are measured on the full picture, which keeps
// the result where the full picture would put it.
Bitmap stretchAveraged(const Bitmap& source, PictureSize fullSize, int reduction, int width,
                       int height);

} // namespace vellumar
