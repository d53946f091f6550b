#pragma once

#include "imaging/bitmap.h"
#include "imaging/resample_filter.h"

namespace vellumar {

// Scales source to exactly newWidth x newHeight with a separable filter: every row first,
// then every column, over integer weights. Radius 0 takes the filter's default radius. The
// target becomes a 24-bit bitmap of the new size (its earlier contents are dropped); when
// either size is 0 nothing else happens. The source, a different bitmap from the target, may
// have any layout and is not changed.
void FilteredStretch(int newWidth, int newHeight, ResampleFilter filter, float radius,
                     const Bitmap& source, Bitmap& target);

} // namespace vellumar
