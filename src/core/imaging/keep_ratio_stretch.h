#pragma once

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// The size a width x height box gives a picture of sourceWidth x sourceHeight when its
// aspect is kept: the picture itself when it fits the box; otherwise a landscape picture
// keeps the box width, any other the box height, and the other side follows the aspect
// (rounded half to even). The derived side is not held to the box.
PictureSize keepRatioSize(int width, int height, int sourceWidth, int sourceHeight);

// Source scaled to keepRatioSize: a copy when the picture fits the box, else the unblended
// scale when platformScale is on, the triangle-filtered stretch when off.
Bitmap KeepRatioStretch(int width, int height, bool platformScale, const Bitmap& source);

} // namespace vellumar
