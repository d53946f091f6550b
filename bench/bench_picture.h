#pragma once

#include "imaging/bitmap.h"

namespace vellumar::bench {

inline constexpr int kBenchWidth = 4000;
inline constexpr int kBenchHeight = 3000;

// A 12-megapixel picture that compresses like a photograph: smooth gradients and shapes
// with some grain. The same every run.
Bitmap makeBenchPicture();

} // namespace vellumar::bench
