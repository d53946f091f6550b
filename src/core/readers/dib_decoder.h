#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"
#include "readers/byte_source.h"
#include "readers/picture_reader.h"

namespace vellumar {

// The device-independent bitmap that BMP files and icons carry: an info header, a palette
// or colour masks, and rows of pixels, bottom-up unless the height is negative.

enum class DibCompression : std::uint32_t {
    None = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    AlphaBitfields = 6,
};

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // number of rows, never negative
    bool topDown = false;
    int bitCount = 0;
    DibCompression compression = DibCompression::None;
    // Red, green, blue and alpha masks of 16- and 32-bit pixels; an alpha mask of 0 means
    // the pixels are opaque. Set for uncompressed pixels too (5-5-5 and 8-8-8).
    std::array<std::uint32_t, 4> masks{};
    std::size_t paletteOffset = 0; // from the start of the header
    std::size_t paletteEntries = 0;
    std::size_t paletteEntrySize = 4; // 3 in OS/2 1.x bitmaps

    // Where the pixels start when nothing says otherwise: right after the palette.
    std::size_t defaultPixelOffset() const {
        return paletteOffset + paletteEntries * paletteEntrySize;
    }
    // Bytes in one row of uncompressed pixels, padded to four bytes.
    std::uint64_t stride() const {
        return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) /
               32 * 4;
    }
};

// A decoded DIB: a Palette8 bitmap up to 8 bits a pixel, Rgb24 above, and the alpha of
// every pixel (row by row, top to bottom) when the pixels carry any.
struct DibPicture {
    Bitmap bitmap;
    std::vector<std::uint8_t> alpha;
};

// Reads the info header that starts the span; fails on layouts that cannot be decoded.
DibHeader readDibHeader(Bytes dib);

// Decodes the pixels at pixelOffset from the start of the header, which the source starts
// with; uncompressed rows are read one at a time. The palette may be shorter than the bit
// depth allows, ending where the pixels start; indices past its end read as black. An alpha
// channel that is zero everywhere is taken as unset, as writers that do not fill it leave it.
DibPicture decodeDib(const ByteSource& dib, const DibHeader& header, std::uint64_t pixelOffset);

} // namespace vellumar
