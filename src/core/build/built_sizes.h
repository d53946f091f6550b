#pragma once

#include <optional>

#include "imaging/picture_size.h"

namespace vellumar {

// The sizes of what a build made of one picture: border included, after rotation. A loop
// that did not reach the picture leaves its size empty.
struct BuiltSizes {
    std::optional<PictureSize> thumbnail;
    std::optional<PictureSize> largePicture;
};

} // namespace vellumar
