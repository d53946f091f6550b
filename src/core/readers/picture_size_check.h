#pragma once

#include <cstdint>

#include "imaging/picture_size.h"

namespace vellumar {

inline constexpr std::int64_t kMaxPictureSide = 65535;
inline constexpr std::int64_t kMaxPicturePixels = 400'000'000;

// The one check every reader makes before it allocates pixels: both sides at least 1, at
// most 65,535, and at most 400 million pixels. Fails with a ProjectError that says what is
// wrong (the file name is added by whoever knows it).
PictureSize checkPictureSize(std::int64_t width, std::int64_t height);

} // namespace vellumar
