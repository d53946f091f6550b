#pragma once

#include <optional>

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"
#include "pipeline/picture_render.h"

namespace vellumar {

// The size a placeholder takes for a box: the box itself, or, for pictures kept at their own
// size, a plain 640 x 480.
PictureSize placeholderSize(const std::optional<PictureBox>& box);

// A plain grey picture of width x height saying "picture cannot be read", drawn with a small
// font of its own so that no font files are needed. Stands in for a picture a build went on
// without.
Bitmap placeholderBitmap(int width, int height);

// The placeholder for an output of the given box, encoded as the build's outputs are.
RenderedPicture placeholderPicture(const std::optional<PictureBox>& box);

} // namespace vellumar
