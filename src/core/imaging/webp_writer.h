#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// The longest side a WebP picture can have (its header holds 14 bits a side).
inline constexpr int kMaxWebpSide = 16383;

// How hard libwebp works: quality 0-100, and method 0 (fastest) to 6 (smallest files).
struct WebpSettings {
    int quality = 92;
    int method = 4;
};

// The settings of every WebP the gallery offers beside its JPEGs: as like the source pixels
// (SSIM of luma) as the JPEG at quality 90, on grainy photographs reduced to thumbnail and
// screen sizes. There they take about the JPEG's bytes (0.92 to 0.99 times) and 10 to 15
// times its encoding time; method 4 is libwebp's own default, method 2 halves the time but
// needs quality 93 and 4 to 11 % more bytes than the JPEG for the same likeness
// (bench/encoder_parity measures all of it).
inline constexpr WebpSettings kWebpSettings{};

// The memory an encode holds besides the bitmap it reads: the picture converted to YUV, the
// coded tokens and the file, 12 bytes a pixel and 1 MB. It grows with the size, so the
// memory of the largest picture inside a box is that of the box.
std::uint64_t webpCodingMemory(PictureSize size);

// Always true: libwebp is linked into the program. Here so that callers ask every encoder the
// same way.
bool webpEncoderAvailable();

// Encodes a bitmap as a lossy WebP without alpha, its chroma at half resolution. A bitmap
// without pixels gives no bytes. A side longer than kMaxWebpSide is refused before anything is
// encoded, and libwebp's failures are raised as ProjectErrors that say what went wrong. An ICC
// profile, when given, is the only thing written beside the picture (in an ICCP chunk);
// nothing else about the picture ever is.
std::vector<std::uint8_t> encodeWebp(const Bitmap& bitmap, WebpSettings settings,
                                     std::span<const std::uint8_t> iccProfile = {});
// With kWebpSettings.
std::vector<std::uint8_t> encodeWebp(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile = {});

} // namespace vellumar
