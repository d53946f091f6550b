#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar {

inline constexpr int kJpegQuality = 90;
// The longest side libjpeg writes; longer ones fail as "JPEG error #41".
inline constexpr int kMaxJpegSide = 65500;

// Encodes a bitmap as a baseline JFIF JPEG at quality 90 with the standard Huffman tables.
// A bitmap without pixels gives no bytes. libjpeg's fatal errors are raised as
// "JPEG error #<message code>". An ICC profile, when given, is the only thing written beside
// the picture (in APP2 segments); nothing else about the picture ever is.
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile = {});

} // namespace vellumar
