#pragma once

#include "imaging/bitmap.h"

namespace vellumar {

// Turns source clockwise by angle degrees: 90 and 270 are quarter turns (the sides swap),
// 180 a half turn; any other angle gives a copy. The result is 24-bit.
Bitmap Rotate(const Bitmap& source, int angle);

// Rotate for a picture that is not needed any more: a half turn and no turn reuse its
// memory, so only a quarter turn holds two pictures at once.
Bitmap Rotate(Bitmap&& picture, int angle);

// Whether turning by angle needs a second picture's memory.
bool rotationCopies(int angle);

// Turns a 24-bit picture by half a turn where it lies: (x, y) goes to (w - 1 - x, h - 1 - y).
void turnHalfInPlace(Bitmap& picture);

// The angle in degrees of a number of quarter turns; anything outside 0..3 turns by none.
int quarterTurnsToDegrees(int rotate);

} // namespace vellumar
