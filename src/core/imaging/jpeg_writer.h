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
// much again as the 24-bit bitmap. They also cost time: on a 12-megapixel photo libjpeg
// takes 2.7 times as long for fitted tables and 6 times for progressive scans, which would
// make a build of photos kept at their own size several times slower. Pictures of more
// pixels than this (3000 x 3000) are therefore written Standard: thumbnails, screen-sized
// large pictures and the sizes a browser picks among get the smaller files, and the largest
// pictures stream with the memory and speed they always had.
inline constexpr std::uint64_t kBufferedJpegPixelLimit = 9'000'000;

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
