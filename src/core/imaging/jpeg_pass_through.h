#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vellumar {

// How a picture is to stand: turned and mirrored as its EXIF orientation asks (as
// turnAsCameraHeld does), then turned clockwise by a number of quarter turns (0..3, read as
// quarterTurnsToDegrees reads them).
struct PictureTurn {
    int orientation = 1;
    int quarterTurns = 0;
};

// A large picture that is its source JPEG at its own size need not be decoded and encoded
// again, which loses quality a second time: its quantised coefficients are kept as they are,
// only moved about for turns and mirrors, so nothing of the picture is lost; unturned, it
// decodes to exactly the source's pixels.
//
// Gives the source's picture turned as asked, with nothing beside it but what decoding needs
// (see keepDecodingSegments) and iccProfile when one is given; no metadata, comment or preview
// of the source is kept. Unturned, its coded data is the source's, byte for byte, unread: the
// caller decodes the picture anyway (for its thumbnail), which finds data cut short. Turned (or
// arithmetic-coded, which browsers do not decode) it is coded as encodeJpeg codes a large picture
// of its size (jpegCodingFor): in progressive scans, or, when it is too large for those, with the
// standard Huffman tables (TurboJPEG fits tables to a picture only for progressive scans).
//
// Gives nothing when the picture cannot be passed through as it is, and is to be decoded
// instead, which reports whatever is wrong with it: segments that cannot be walked, data
// libjpeg-turbo cannot turn or warns about while turning it (damaged or cut short), CMYK and YCCK
// pictures (whose colours are converted), a turn that would have to move the partial blocks at a
// picture's right or bottom edge to the other side (the picture's size is not a whole number of the
// blocks its coding groups samples in), and a profile too large for a JPEG.
std::optional<std::vector<std::uint8_t>> passThroughJpeg(std::span<const std::uint8_t> source,
                                                         PictureTurn turn,
                                                         std::span<const std::uint8_t> iccProfile);

// Whether passThroughJpeg gives the picture, judged from its header alone: not for CMYK and
// YCCK, nor for a turn that would move partial blocks. Damaged data is found only when it
// is passed through.
bool passesThroughAsItIs(std::span<const std::uint8_t> source, PictureTurn turn);

// The most memory passThroughJpeg takes for source and turn besides the source's bytes: every
// coefficient of the picture, twice for turns that move blocks, and the bytes it writes.
// 0 for data whose header cannot be read, which passThroughJpeg refuses at once. libjpeg
// asks for all of the coefficients' memory before it reads the data, whatever size the
// header claims: the size is to be checked, and this reserved, before passing through, as
// before a decode.
std::uint64_t passThroughMemory(std::span<const std::uint8_t> source, PictureTurn turn);

} // namespace vellumar
