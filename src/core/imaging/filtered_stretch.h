#pragma once

#include "imaging/bitmap.h"
#include "imaging/resample_filter.h"

namespace vellumar {

// Scales source to exactly newWidth x newHeight with a separable filter: every row first,
// then every column, over integer weights. Radius 0 takes the filter's default radius. The
// result is a 24-bit bitmap of the new size, empty when either size is 0. The source may
// have any layout.
Bitmap FilteredStretch(int newWidth, int newHeight, ResampleFilter filter, float radius,
                       const Bitmap& source);

} // namespace vellumar
