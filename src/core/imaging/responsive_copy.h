#pragma once

#include <span>
#include <vector>

#include "imaging/picture_size.h"

namespace vellumar {

// The size of a copy of a picture at a narrower width: its height keeps the picture's
// proportions, rounded, and at least 1.
PictureSize responsiveCopySize(int width, PictureSize picture);

// The copies at those of widths (ascending) that are narrower than the picture.
std::vector<PictureSize> responsiveCopySizes(std::span<const int> widths, PictureSize picture);

// A size after quarter turns: odd turns swap its sides.
PictureSize turnedSize(PictureSize size, int quarterTurns);

} // namespace vellumar
