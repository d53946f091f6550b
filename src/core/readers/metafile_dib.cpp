#include "metafile_dib.h"

#include <string>

#include "project_error.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace dib {

constexpr std::uint32_t kCoreHeaderSize = 12; // BITMAPCOREHEADER
constexpr std::uint32_t kInfoHeaderSize = 40; // BITMAPINFOHEADER; later headers are longer
constexpr std::uint32_t kUncompressed = 0;    // BI_RGB

// The header fields read, in either form.
struct Header {
    std::uint32_t size = 0;        // bytes of the header itself
    std::int64_t width = 0;        // pixels a row
    std::int64_t height = 0;       // rows; negative: top row first
    std::uint16_t bitCount = 0;    // bits a pixel
    std::uint32_t compression = 0; // kUncompressed only
    std::uint32_t coloursUsed = 0; // colour table entries; 0: all 2^bitCount
    std::size_t entrySize = 4;     // 3 for the core header's RGB triples, else 4
};

} // namespace dib

namespace {

[[noreturn]] void unreadable(const std::string& what) {
    throw ProjectError("a bitmap in the metafile cannot be read: " + what);
}

dib::Header readHeader(Bytes info) {
    ByteReader cursor(info);
    dib::Header header;
    header.size = cursor.u32le();
    if (header.size == dib::kCoreHeaderSize) {
        header.width = cursor.u16le();
        header.height = cursor.u16le();
        cursor.skip(2); // planes
        header.bitCount = cursor.u16le();
        header.entrySize = 3;
    } else if (header.size >= dib::kInfoHeaderSize) {
        header.width = cursor.i32le();
        header.height = cursor.i32le();
        cursor.skip(2); // planes
        header.bitCount = cursor.u16le();
        header.compression = cursor.u32le();
        cursor.skip(12); // image size and resolution
        header.coloursUsed = cursor.u32le();
    } else {
        unreadable("unknown header size " + std::to_string(header.size));
    }
    if (header.compression != dib::kUncompressed) {
        unreadable("compressed bitmaps are not supported");
    }
    const int depth = header.bitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 24 && depth != 32) {
        unreadable(std::to_string(depth) + " bits a pixel are not supported");
    }
    return header;
}

std::size_t paletteEntries(const dib::Header& header) {
    if (header.bitCount > 8) {
        return header.coloursUsed;
    }
    const std::size_t full = std::size_t{1} << header.bitCount;
    return header.coloursUsed == 0 ? full : std::min<std::size_t>(header.coloursUsed, full);
}

std::vector<Rgb> readPalette(const dib::Header& header, Bytes info) {
    if (header.bitCount > 8) {
        return {};
    }
    ByteReader cursor(info, header.size);
    std::vector<Rgb> palette(paletteEntries(header));
    for (Rgb& colour : palette) {
        colour.b = cursor.u8();
        colour.g = cursor.u8();
        colour.r = cursor.u8();
        if (header.entrySize == 4) {
            cursor.skip(1);
        }
    }
    return palette;
}

Rgb pixelAt(const std::uint8_t* row, int x, int bitCount, const std::vector<Rgb>& palette) {
    if (bitCount >= 24) {
        const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bitCount / 8);
        return {p[2], p[1], p[0]};
    }
    const int perByte = 8 / bitCount;
    const int shift = 8 - bitCount * (x % perByte + 1);
    const std::size_t index = (row[x / perByte] >> shift) & ((1 << bitCount) - 1);
    return index < palette.size() ? palette[index] : Rgb{};
}

} // namespace

MetafileDib decodeMetafileDib(Bytes info, Bytes bits) {
    const dib::Header header = readHeader(info);
    const std::vector<Rgb> palette = readPalette(header, info);
    const bool bottomUp = header.height > 0;
    const PictureSize size =
        checkPictureSize(header.width, bottomUp ? header.height : -header.height);
    const std::size_t stride =
        (static_cast<std::size_t>(size.width) * header.bitCount + 31) / 32 * 4;
    if (bits.size() / stride < static_cast<std::size_t>(size.height)) {
        unreadable("its pixels are truncated");
    }
    MetafileDib result{Bitmap(size.width, size.height), bottomUp};
    for (int y = 0; y < size.height; ++y) {
        const int stored = bottomUp ? size.height - 1 - y : y;
        const std::uint8_t* row = bits.data() + static_cast<std::size_t>(stored) * stride;
        for (int x = 0; x < size.width; ++x) {
            result.picture.setPixel(x, y, pixelAt(row, x, header.bitCount, palette));
        }
    }
    return result;
}

MetafileDib decodePackedMetafileDib(Bytes packed) {
    const dib::Header header = readHeader(packed);
    const std::size_t pixelsAt = header.size + paletteEntries(header) * header.entrySize;
    if (pixelsAt > packed.size()) {
        unreadable("its colour table is truncated");
    }
    return decodeMetafileDib(packed, packed.subspan(pixelsAt));
}

} // namespace vellumar
