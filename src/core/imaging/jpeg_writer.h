#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

inline constexpr int kJpegQuality = 90;
// The longest side libjpeg writes; longer ones fail as "JPEG error #41".
inline constexpr int kMaxJpegSide = 65500;

// How the quantised picture is laid out in the file. Every coding gives the same pixels when
// decoded; they differ in bytes and in the memory the encoder holds.
enum class JpegCoding {
    // Baseline with the standard Huffman tables: streams, holding only a few rows.
    Standard,
    // Baseline with Huffman tables fitted to the picture.
    Optimised,
    // Progressive scans with fitted tables: smaller still for big pictures, and a browser
    // shows the whole picture early and sharpens it.
    Progressive,
};

// Fitted tables need every coefficient of the picture before the first byte is written, so
// Optimised and Progressive keep a buffer of all of them, about 3 bytes a pixel at 4:2:0: as
// much again as the 24-bit bitmap. Pictures of more pixels than this are written Standard
// instead. At this size a picture, its quarter-turned copy and the buffer together take
// 900 MB, well inside the default memory limit beside a second worker; the 400-megapixel
// pictures the readers still accept would need 3.6 GB that way, more than the limit, and
// their bitmap is then the only whole-picture memory their encode takes.
inline constexpr std::uint64_t kBufferedJpegPixelLimit = 100'000'000;

// Optimised, or Progressive when asked for, unless the picture is larger than
// kBufferedJpegPixelLimit.
JpegCoding jpegCodingFor(PictureSize size, bool progressive);

// The memory an encode in the coding jpegCodingFor gives holds besides the bitmap it reads.
std::uint64_t jpegCodingMemory(PictureSize size);
// The most that jpegCodingMemory gives for any picture that fits inside bound.
std::uint64_t jpegCodingMemoryWithin(PictureSize bound);

// Encodes a bitmap as a JFIF JPEG at quality 90 with 4:2:0 chroma. A bitmap without pixels
// gives no bytes. libjpeg's fatal errors are raised as "JPEG error #<message code>". An ICC
// profile, when given, is the only thing written beside the picture (in APP2 segments);
// nothing else about the picture ever is.
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap, JpegCoding coding,
                                     std::span<const std::uint8_t> iccProfile = {});
// In the sequential coding jpegCodingFor gives the bitmap's size.
std::vector<std::uint8_t> encodeJpeg(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile = {});

} // namespace vellumar
