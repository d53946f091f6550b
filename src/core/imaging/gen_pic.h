#pragma once

#include "imaging/bitmap.h"
#include "imaging/crop_align.h"
#include "imaging/picture_box.h"

namespace vellumar {

// The finished picture: source shaped to the box, turned clockwise by quarterTurns (anything
// outside 0..3 turns by none) and framed. Shaping is a crop window when crop cuts one (the
// box's keepRatio is then ignored), else an aspect-keeping scale when keepRatio is on, else a
// triangle-filtered stretch to exactly the box. A border width above 0 adds a white margin
// of that width all round and draws an outline of that width in the border colour along the
// picture's edge.
Bitmap GenPic(const Bitmap& source, const PictureBox& box, CropAlign crop, int quarterTurns);

// The steps of GenPic that follow the shaping, for a picture shaped otherwise: the turn by
// quarterTurns, then the frame of the box.
Bitmap turnAndFrame(Bitmap shaped, int quarterTurns, const PictureBox& box);

} // namespace vellumar
