#pragma once

#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar {

inline constexpr int kJpegQuality = 90;
// The longest side libjpeg writes; longer ones fail as "JPEG error #41".
inline constexpr int kMaxJpegSide = 65500;

// Encodes a bitmap as a baseline JFIF JPEG at quality 90 with the standard Huffman tables.
// A bitmap without pixels gives no bytes. libjpeg's fatal errors are raised as
// "JPEG error #<message code>".
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap);

} // namespace vellumar
