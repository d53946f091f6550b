#pragma once

#include "imaging/bitmap.h"
#include "imaging/picture_box.h"
#include "imaging/picture_size.h"

namespace vellumar {

// The size a width x height box gives a picture of sourceWidth x sourceHeight when its
// aspect is kept: the picture itself when it fits the box; otherwise a landscape picture
// keeps the box width, any other the box height, and the other side follows the aspect
// (rounded half to even). The derived side is not held to the box.
PictureSize keepRatioSize(int width, int height, int sourceWidth, int sourceHeight);

// The size a picture keeping its aspect takes inside both sides of a width x height box: the
// picture itself when it fits, else scaled by the smaller of the two ratios of box to picture
// (rounded half to even, at least one pixel a side).
PictureSize fitInsideSize(int width, int height, int sourceWidth, int sourceHeight);

// The size an aspect-keeping box gives a picture of the given size, by the box's rule.
PictureSize keptRatioSize(const PictureBox& box, PictureSize source);

// Source scaled to keepRatioSize: a copy when the picture fits the box, else the unblended
// scale when platformScale is on, the triangle-filtered stretch when off.
Bitmap KeepRatioStretch(int width, int height, bool platformScale, const Bitmap& source);

// The same, with the size the box's rule gives.
Bitmap KeepRatioStretch(const PictureBox& box, bool platformScale, const Bitmap& source);

} // namespace vellumar
