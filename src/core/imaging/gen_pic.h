#pragma once

#include "color.h"
#include "imaging/bitmap.h"

namespace vellumar {

// The finished picture: source shaped to the width x height box, turned by angle degrees
// and framed. Shaping is a crop window when crop > 0 (keepRatio is then ignored), else an
// aspect-keeping scale when keepRatio is on, else a triangle-filtered stretch to exactly the
// box. A borderWidth above 0 adds a white margin of that width all round and draws an
// outline of that width in borderColour along the picture's edge.
Bitmap GenPic(const Bitmap& source, int width, int height, int borderWidth, int crop, int angle,
              Color borderColour, bool keepRatio);

// The steps of GenPic that follow the shaping, for a picture shaped otherwise: the turn by
// angle degrees, then the frame of borderWidth in borderColour.
Bitmap turnAndFrame(Bitmap shaped, int angle, int borderWidth, Color borderColour);

} // namespace vellumar
