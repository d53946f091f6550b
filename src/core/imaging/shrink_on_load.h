#pragma once

#include <optional>
#include <span>

#include "imaging/crop_align.h"
#include "imaging/picture_box.h"
#include "imaging/picture_size.h"

namespace vellumar {

// With smooth scaling, the size that an output shaped to box (its shaping box, before any
// turn) is averaged down to from a
// picture of fullSize; nothing when the output is made from the full picture as it is: a
// crop window, an exact-size stretch, or a picture that fits the box and is
// copied unscaled.
std::optional<PictureSize> averagedSize(const PictureBox& box, CropAlign crop,
                                        PictureSize fullSize);

// How much a picture of fullSize may be reduced while it is decoded: the largest of 8, 4 and
// 2 whose reduced picture (each side divided and rounded up) still has at least the width
// and height of every one of sizes, else 1.
int decodeReduction(PictureSize fullSize, std::span<const PictureSize> sizes);

} // namespace vellumar
