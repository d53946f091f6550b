#include "dib_decoder.h"

#include <algorithm>
#include <bit>
#include <string>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/picture_size_check.h"

namespace vellumar {

namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

bool isWindowsHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

// OS/2 2.x headers are 16 to 64 bytes long, the fields past their end counting as zero.
bool isOs2HeaderSize(std::uint32_t size) {
    return size >= 16 && size <= 64 && !isWindowsHeaderSize(size);
}

// A little-endian field of the header, 0 when the header is too short to hold it.
std::uint32_t headerField(Bytes header, std::size_t offset, std::size_t size) {
    if (offset + size > header.size()) {
        return 0;
    }
    ByteReader field(header.subspan(offset, size));
    return size == 2 ? field.u16le() : field.u32le();
}

DibCompression compressionOf(std::uint32_t value, bool os2) {
    if (os2 && value == 3) {
        throw ProjectError("Huffman-compressed OS/2 bitmaps are not supported");
    }
    if (os2 && value == 4) {
        throw ProjectError("24-bit run-length compressed OS/2 bitmaps are not supported");
    }
    switch (value) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 6:
        return static_cast<DibCompression>(value);
    case 4:
        throw ProjectError("bitmaps holding JPEG data are not supported");
    case 5:
        throw ProjectError("bitmaps holding PNG data are not supported");
    default:
        throw ProjectError("unknown bitmap compression (" + std::to_string(value) + ")");
    }
}

void checkDepthAndCompression(int bitCount, DibCompression compression) {
    switch (bitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        throw ProjectError("unsupported bit depth (" + std::to_string(bitCount) +
                           " bits per pixel)");
    }
    const bool fits = [&] {
        switch (compression) {
        case DibCompression::None:
            return true;
        case DibCompression::Rle8:
            return bitCount == 8;
        case DibCompression::Rle4:
            return bitCount == 4;
        case DibCompression::Bitfields:
        case DibCompression::AlphaBitfields:
            return bitCount == 16 || bitCount == 32;
        }
        return false;
    }();
    if (!fits) {
        throw ProjectError("the compression does not suit " + std::to_string(bitCount) +
                           " bits per pixel");
    }
}

std::uint32_t pixelBitsMask(int bitCount) {
    return bitCount >= 32 ? 0xFFFFFFFFu : (1u << bitCount) - 1;
}

// Colour masks: from the header or the three or four fields after it for bit fields,
// the standard 5-5-5 and 8-8-8 layouts otherwise. The alpha mask of version 3 and later
// headers also applies to uncompressed pixels when it leaves the colour bits alone.
void readMasks(Bytes dib, Bytes header, DibHeader& result) {
    const bool bitfields = result.compression == DibCompression::Bitfields ||
                           result.compression == DibCompression::AlphaBitfields;
    if (bitfields) {
        const std::size_t count = result.compression == DibCompression::AlphaBitfields ? 4 : 3;
        Bytes fields = header;
        if (result.headerSize == kInfoHeaderSize) {
            fields = ByteReader(dib).slice(0, kInfoHeaderSize + count * 4);
            result.paletteOffset += count * 4;
        }
        for (std::size_t i = 0; i < 4; ++i) {
            result.masks[i] = headerField(fields, kInfoHeaderSize + i * 4, 4);
        }
        if (count == 3 && result.headerSize < 56) {
            result.masks[3] = 0;
        }
        for (std::uint32_t mask : result.masks) {
            if ((mask & ~pixelBitsMask(result.bitCount)) != 0) {
                throw ProjectError("a colour mask does not fit in " +
                                   std::to_string(result.bitCount) + "-bit pixels");
            }
        }
        return;
    }
    if (result.bitCount == 16) {
        result.masks = {0x7C00, 0x03E0, 0x001F, 0};
    } else if (result.bitCount == 32) {
        result.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    } else {
        return;
    }
    const std::uint32_t alpha = headerField(header, 52, 4);
    const std::uint32_t colours = result.masks[0] | result.masks[1] | result.masks[2];
    if ((alpha & ~pixelBitsMask(result.bitCount)) == 0 && (alpha & colours) == 0) {
        result.masks[3] = alpha;
    }
}

// Reads one channel out of a masked pixel and scales it to 8 bits.
class MaskChannel {
public:
    explicit MaskChannel(std::uint32_t mask)
        : m_mask(mask), m_shift(mask == 0 ? 0 : std::countr_zero(mask)),
          m_max(mask == 0 ? 0 : mask >> m_shift) {}

    bool present() const { return m_mask != 0; }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (m_max == 0) {
            return 0;
        }
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<std::uint8_t>((value * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask;
    int m_shift;
    std::uint64_t m_max;
};

std::vector<Rgb> readPalette(const ByteSource& dib, const DibHeader& header,
                             std::uint64_t pixelOffset) {
    // A palette shorter than the header says ends where the pixels start.
    const std::size_t room = (pixelOffset - header.paletteOffset) / header.paletteEntrySize;
    const std::size_t entries = std::min<std::uint64_t>(header.paletteEntries, room);
    std::vector<std::uint8_t> buffer;
    ByteReader in(dib.read(header.paletteOffset, entries * header.paletteEntrySize, buffer));
    std::vector<Rgb> palette(std::size_t{1} << header.bitCount); // missing entries are black
    for (std::size_t i = 0; i < entries; ++i) {
        const Bytes entry = in.take(header.paletteEntrySize);
        palette[i] = {entry[2], entry[1], entry[0]};
    }
    return palette;
}

// The bitmap row that the n-th row of the data fills.
int bitmapRow(const DibHeader& header, std::int64_t n) {
    return static_cast<int>(header.topDown ? n : header.height - 1 - n);
}

void unpackIndices(const std::uint8_t* source, int bitCount, int width, std::uint8_t* target) {
    if (bitCount == 8) {
        std::copy(source, source + width, target);
        return;
    }
    const unsigned mask = (1u << bitCount) - 1;
    for (int x = 0; x < width; ++x) {
        const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
        target[x] = static_cast<std::uint8_t>(
            (source[bit / 8] >> (8 - bitCount - static_cast<int>(bit % 8))) & mask);
    }
}

// Run-length encoded indices; pixels the runs skip keep index 0.
void decodeRle(Bytes data, const DibHeader& header, Bitmap& bitmap) {
    const bool rle4 = header.compression == DibCompression::Rle4;
    ByteReader in(data);
    std::int64_t x = 0;
    std::int64_t n = 0;
    auto put = [&](unsigned index) {
        if (x < header.width && n < header.height) {
            bitmap.row(bitmapRow(header, n))[x] = static_cast<std::uint8_t>(index);
        }
        ++x;
    };
    while (n < header.height) {
        if (in.atEnd() && n == header.height - 1 && x >= header.width) {
            return; // the last row is complete; only the end marker is missing
        }
        const unsigned count = in.u8();
        const unsigned value = in.u8();
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                put(!rle4 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
            }
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++n;
            break;
        case 1: // end of bitmap
            return;
        case 2: // move right and up
            x += in.u8();
            n += in.u8();
            break;
        default: { // a literal run, padded to a 16-bit boundary
            const std::size_t bytes = rle4 ? (value + 1) / 2 : value;
            const Bytes literal = in.take(bytes);
            for (unsigned i = 0; i < value; ++i) {
                put(!rle4 ? literal[i]
                          : (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 0x0F));
            }
            if (bytes % 2 != 0) {
                in.skip(1);
            }
        }
        }
    }
}

// The rows of uncompressed pixels in the order they are stored, read one at a time.
class UncompressedRows {
public:
    // Checks that every row is there before anything is allocated, so a small file cannot
    // claim a huge picture.
    UncompressedRows(const ByteSource& dib, const DibHeader& header, std::uint64_t pixelOffset)
        : m_dib(dib), m_stride(header.stride()), m_pixelOffset(pixelOffset),
          m_rowBytes((static_cast<std::uint64_t>(header.width) * header.bitCount + 7) / 8) {
        // The padding of the last row is not required: some writers leave it out.
        const std::uint64_t total =
            (static_cast<std::uint64_t>(header.height) - 1) * m_stride + m_rowBytes;
        if (pixelOffset > dib.size() || total > dib.size() - pixelOffset) {
            failTruncated(pixelOffset, total, dib.size());
        }
    }

    const std::uint8_t* row(std::int64_t n) {
        return m_dib
            .read(m_pixelOffset + static_cast<std::uint64_t>(n) * m_stride, m_rowBytes, m_buffer)
            .data();
    }

private:
    const ByteSource& m_dib;
    std::uint64_t m_stride;
    std::uint64_t m_pixelOffset;
    std::uint64_t m_rowBytes;
    std::vector<std::uint8_t> m_buffer;
};

DibPicture decodeIndexed(const ByteSource& dib, const DibHeader& header,
                         std::uint64_t pixelOffset) {
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    std::vector<Rgb> palette = readPalette(dib, header, pixelOffset);
    if (header.compression == DibCompression::Rle4 || header.compression == DibCompression::Rle8) {
        std::vector<std::uint8_t> buffer;
        const Bytes data =
            dib.read(pixelOffset, dib.size() - std::min(pixelOffset, dib.size()), buffer);
        DibPicture picture{Bitmap::withPalette(width, height, std::move(palette)), {}};
        decodeRle(data, header, picture.bitmap);
        return picture;
    }
    UncompressedRows rows(dib, header, pixelOffset);
    DibPicture picture{Bitmap::withPalette(width, height, std::move(palette)), {}};
    for (int n = 0; n < height; ++n) {
        unpackIndices(rows.row(n), header.bitCount, width,
                      picture.bitmap.row(bitmapRow(header, n)));
    }
    return picture;
}

DibPicture decodeDirect(const ByteSource& dib, const DibHeader& header, std::uint64_t pixelOffset) {
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    UncompressedRows rows(dib, header, pixelOffset);
    DibPicture picture{Bitmap::uninitialized(width, height), {}};
    const MaskChannel red(header.masks[0]);
    const MaskChannel green(header.masks[1]);
    const MaskChannel blue(header.masks[2]);
    const MaskChannel alpha(header.masks[3]);
    if (alpha.present()) {
        picture.alpha.resize(static_cast<std::size_t>(width) * height);
    }
    for (int n = 0; n < height; ++n) {
        const std::uint8_t* source = rows.row(n);
        const int y = bitmapRow(header, n);
        std::uint8_t* target = picture.bitmap.row(y);
        for (int x = 0; x < width; ++x, target += 3) {
            if (header.bitCount == 24) {
                target[0] = source[2];
                target[1] = source[1];
                target[2] = source[0];
                source += 3;
                continue;
            }
            std::uint32_t pixel = source[0] | (source[1] << 8);
            if (header.bitCount == 32) {
                pixel |= (static_cast<std::uint32_t>(source[2]) << 16) |
                         (static_cast<std::uint32_t>(source[3]) << 24);
            }
            source += header.bitCount / 8;
            target[0] = red(pixel);
            target[1] = green(pixel);
            target[2] = blue(pixel);
            if (alpha.present()) {
                picture.alpha[static_cast<std::size_t>(y) * width + x] = alpha(pixel);
            }
        }
    }
    if (std::all_of(picture.alpha.begin(), picture.alpha.end(),
                    [](std::uint8_t a) { return a == 0; })) {
        picture.alpha.clear();
    }
    return picture;
}

} // namespace

DibHeader readDibHeader(Bytes dib) {
    DibHeader result;
    ByteReader in(dib);
    result.headerSize = in.u32le();
    const bool os2 = isOs2HeaderSize(result.headerSize);
    if (result.headerSize != kCoreHeaderSize && !os2 && !isWindowsHeaderSize(result.headerSize)) {
        throw ProjectError("unknown bitmap header size (" + std::to_string(result.headerSize) +
                           " bytes)");
    }
    const Bytes header = in.slice(0, result.headerSize);
    result.paletteOffset = result.headerSize;
    std::int64_t height = 0;
    std::uint32_t coloursUsed = 0;
    if (result.headerSize == kCoreHeaderSize) {
        result.width = headerField(header, 4, 2);
        height = headerField(header, 6, 2);
        result.bitCount = static_cast<int>(headerField(header, 10, 2));
        result.paletteEntrySize = 3;
    } else {
        result.width = static_cast<std::int32_t>(headerField(header, 4, 4));
        height = static_cast<std::int32_t>(headerField(header, 8, 4));
        result.bitCount = static_cast<int>(headerField(header, 14, 2));
        result.compression = compressionOf(headerField(header, 16, 4), os2);
        coloursUsed = headerField(header, 32, 4);
    }
    if (result.width < 0) {
        throw ProjectError("the bitmap width is negative (" + std::to_string(result.width) + ")");
    }
    result.topDown = height < 0;
    result.height = result.topDown ? -height : height;
    checkDepthAndCompression(result.bitCount, result.compression);
    readMasks(dib, header, result);
    if (result.bitCount <= 8) {
        const std::size_t full = std::size_t{1} << result.bitCount;
        result.paletteEntries = coloursUsed == 0 ? full : std::min<std::size_t>(coloursUsed, full);
    }
    return result;
}

DibPicture decodeDib(const ByteSource& dib, const DibHeader& header, std::uint64_t pixelOffset) {
    checkPictureSize(header.width, header.height);
    if (pixelOffset < header.paletteOffset) {
        throw ProjectError("the pixel data starts inside the bitmap header");
    }
    return header.bitCount <= 8 ? decodeIndexed(dib, header, pixelOffset)
                                : decodeDirect(dib, header, pixelOffset);
}

} // namespace vellumar
