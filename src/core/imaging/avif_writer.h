#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/picture_size.h"

namespace vellumar {

// The longest side of an AVIF the gallery writes. Far beyond any copy a gallery offers
// beside its JPEGs; the encoder's memory grows with the picture, and browsers' decoders
// refuse pictures larger than this square.
inline constexpr int kMaxAvifSide = 16384;

// How hard the AV1 encoder works: quality 0-100 (libheif's scale), and speed 0 (slowest,
// smallest files) to 9 (fastest).
struct AvifSettings {
    int quality = 86;
    int speed = 9;
};

// The settings of every AVIF the gallery offers beside its JPEGs: as like the source pixels
// (SSIM of luma) as the JPEG at quality 90, on grainy photographs reduced to thumbnail and
// screen sizes. There they take 0.69 to 0.96 times the JPEG's bytes. Speed 9 gives speed 8's
// likeness (SSIM within 0.0015) in slightly fewer bytes and 0.3 to 0.75 of its time, still 7
// to 10 times the JPEG's, where speed 8 gave speed 6's in a quarter of its time
// (bench/encoder_parity measures all of it).
inline constexpr AvifSettings kAvifSettings{};

// The memory an encode holds besides the bitmap it reads: libheif's copies of the picture
// in RGB and YCbCr and libaom's frames, 22 bytes a pixel, and 6 MB of the encoder's tables.
// It grows with the size, so the memory of the largest picture inside a box is that of the
// box.
std::uint64_t avifCodingMemory(PictureSize size);

// Whether this system's libheif has an AV1 encoder; without one encodeAvif always fails.
// Cheap: no encoder is started.
bool avifEncoderAvailable();

// Encodes a bitmap as a lossy AVIF (AV1 still picture, 8 bits, chroma at half resolution,
// without alpha). The AV1 encoder runs on the calling thread only. A bitmap without pixels
// gives no bytes. A side longer than kMaxAvifSide is refused before anything is encoded, and
// libheif's failures are raised as ProjectErrors that say what went wrong. An ICC profile,
// when given, describes the colours; without one the file says sRGB. Nothing else about the
// picture is ever written.
std::vector<std::uint8_t> encodeAvif(const Bitmap& bitmap, AvifSettings settings,
                                     std::span<const std::uint8_t> iccProfile = {});
// With kAvifSettings.
std::vector<std::uint8_t> encodeAvif(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile = {});

} // namespace vellumar
