#pragma once

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// What an EXIF orientation asks for: a clockwise turn by angle degrees (0, 90, 180 or 270),
// then, when mirrored, a mirror image left to right.
struct CameraTurn {
    int angle = 0;
    bool mirrored = false;
};

// The turn of an orientation (1..8); any other value asks for none.
CameraTurn cameraTurnOf(int orientation);

// Turns and mirrors a picture as its EXIF orientation (1..8) says, so that it stands as the
// camera was held. Orientation 1, or a value outside 1..8, leaves the picture as it is; any
// other gives a 24-bit picture.
Bitmap turnAsCameraHeld(Bitmap picture, int orientation);

// Whether turnAsCameraHeld holds the picture twice for a moment (a quarter turn does);
// the other orientations turn and mirror it where it lies.
bool cameraTurnCopies(int orientation);

// The size turnAsCameraHeld gives a picture of this size: orientations 5 to 8 swap the sides.
PictureSize sizeAsCameraHeld(PictureSize size, int orientation);

} // namespace vellumar
