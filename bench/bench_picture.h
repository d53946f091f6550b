#pragma once

#include "imaging/bitmap.h"

namespace vellumar::bench {

inline constexpr int kBenchWidth = 4000;
inline constexpr int kBenchHeight = 3000;

// A 12-megapixel picture that compresses like a photograph: smooth gradients and shapes
// with some grain. The same every run for the same seed; other seeds move the shapes and
// the grain, so a set of them are distinct photographs. A portrait one is 3000 x 4000.
Bitmap makeBenchPicture(unsigned seed = 0, bool portrait = false);

} // namespace vellumar::bench
