#pragma once

#include "imaging/bitmap.h"

namespace vellumar {

// How far a picture reaches along each axis, in its own samples: its width and height, or
// less when its last column and row stand for only part of a sample (a picture reduced
// while it was decoded, whose sides were rounded up).
struct SampleSpan {
    double width = 0;
    double height = 0;
};

// Reduces source to width x height with a Lanczos-3 filter widened by the
// reduction factor: each target pixel is a windowed-sinc blend of the source samples around
// the centre of the area it covers, which keeps detail up to the target's finest resolvable
// pattern and removes what is finer. Pixels are centred (target pixel i covers span / width
// source samples from i * span / width); the window is cut at the picture's edges and its
// weights made to add up to one again. Both sides must reduce or keep their length.
Bitmap reduceLanczos(const Bitmap& source, SampleSpan span, int width, int height);

} // namespace vellumar
