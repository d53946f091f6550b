#pragma once

#include "imaging/bitmap.h"

namespace vellumar {

// Turns source clockwise by angle degrees: 90 and 270 are quarter turns (the sides swap),
// 180 a half turn; any other angle gives a copy. The result is 24-bit.
Bitmap Rotate(const Bitmap& source, int angle);

} // namespace vellumar
