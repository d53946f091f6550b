#include "autodesk_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace cel {

// The 32-byte header (little-endian).
struct Header {
    std::uint16_t magic = 0;      // 0x9119
    std::uint16_t width = 0;      // pixels a row
    std::uint16_t height = 0;     // rows
    std::uint16_t x = 0;          // position on the screen, unused here
    std::uint16_t y = 0;          // position on the screen, unused here
    std::uint8_t depth = 0;       // bits a pixel, always 8
    std::uint8_t compression = 0; // 0, the only kind written
    std::uint32_t dataSize = 0;   // bytes of pixel data, width x height
    // 16 reserved bytes complete the 32.
};

constexpr std::uint16_t kMagic = 0x9119;
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kPaletteSize = 768;

} // namespace cel

cel::Header readHeader(ByteReader& in) {
    cel::Header h;
    h.magic = in.u16le();
    h.width = in.u16le();
    h.height = in.u16le();
    h.x = in.u16le();
    h.y = in.u16le();
    h.depth = in.u8();
    h.compression = in.u8();
    h.dataSize = in.u32le();
    in.seek(cel::kHeaderSize);
    return h;
}

PictureSize checkHeader(const cel::Header& h) {
    if (h.magic != cel::kMagic) {
        throw ProjectError("the file is not an Autodesk Animator picture");
    }
    if (h.depth != 8) {
        throw ProjectError("Autodesk pictures of " + std::to_string(h.depth) +
                           " bits a pixel are not supported");
    }
    if (h.compression != 0) {
        throw ProjectError("the Autodesk compression " + std::to_string(h.compression) +
                           " is not supported");
    }
    const PictureSize size = checkPictureSize(h.width, h.height);
    if (h.dataSize !=
        static_cast<std::uint32_t>(size.width) * static_cast<std::uint32_t>(size.height)) {
        throw ProjectError("the Autodesk picture's data size does not match its width and height");
    }
    return size;
}

// The palette's components run from 0 to 63; a palette that goes beyond that was written
// with 8-bit components and is taken as it is.
std::vector<Rgb> readPalette(ByteReader& in) {
    const Bytes stored = in.take(cel::kPaletteSize);
    const bool sixBit = std::all_of(stored.begin(), stored.end(), [](auto v) { return v < 64; });
    const auto component = [&](std::size_t i) {
        return sixBit ? scaleToByte(stored[i], 6) : stored[i];
    };
    std::vector<Rgb> palette(256);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {component(i * 3), component(i * 3 + 1), component(i * 3 + 2)};
    }
    return palette;
}

} // namespace

bool AutodeskReader::sniff(Bytes bytes) const {
    return bytes.size() >= cel::kHeaderSize && bytes[0] == 0x19 && bytes[1] == 0x91 &&
           bytes[10] == 8 && bytes[11] == 0;
}

PictureSize AutodeskReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    return checkHeader(readHeader(in));
}

Bitmap AutodeskReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const PictureSize size = checkHeader(readHeader(in));
    std::vector<Rgb> palette = readPalette(in);
    const Bytes pixels = in.take(static_cast<std::uint64_t>(size.width) * size.height);
    Bitmap bitmap = Bitmap::withPalette(size.width, size.height, std::move(palette));
    for (int y = 0; y < size.height; ++y) {
        const Bytes row = pixels.subspan(static_cast<std::size_t>(y) * size.width,
                                         static_cast<std::size_t>(size.width));
        std::copy(row.begin(), row.end(), bitmap.row(y));
    }
    return bitmap;
}

} // namespace vellumar
