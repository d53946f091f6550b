#pragma once

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// The aspect-keeping scale of smooth scaling, from a picture that may have been reduced while
// it was decoded (source is fullSize with each side divided by reduction and rounded up, as
// for stretchAveraged). A reduction averages areas down to twice the target size, which is
// fast whatever the factor and leaves little aliasing, and takes the last factor of two or
// less with a Lanczos-3 step, which keeps the edges and fine detail that an area mean
// blurs and removes what the target cannot hold. Lanczos-3 rather than Catmull-Rom: on
// photographs it comes out closer to a Lanczos reduction of the whole picture (twice as
// close for thumbnails) and sharper, and vectorised the pair of steps costs about what the
// area mean alone did. Anything that is not a reduction on both sides is averaged as
// stretchAveraged does.
Bitmap stretchSmoothly(const Bitmap& source, PictureSize fullSize, int reduction, int width,
                       int height);

} // namespace vellumar
