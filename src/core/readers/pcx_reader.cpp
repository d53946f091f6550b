#include "pcx_reader.h"

#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace pcx {

// The 128-byte header at the start of every file (little-endian).
struct Header {
    std::uint8_t manufacturer = 0; // always 0x0A
    std::uint8_t version = 0;      // 0, 2, 3, 4 or 5; only 5 may carry the trailing palette
    std::uint8_t encoding = 0;     // 1 run-length encoded, 0 stored as it is
    std::uint8_t bitsPerPixel = 0; // bits of one pixel within one plane: 1, 2, 4 or 8
    std::uint16_t xMin = 0;        // window of the picture, inclusive
    std::uint16_t yMin = 0;
    std::uint16_t xMax = 0;
    std::uint16_t yMax = 0;
    std::uint16_t hDpi = 0; // resolution, unused here
    std::uint16_t vDpi = 0;
    Bytes egaPalette;               // 16 RGB triples for pictures of up to 16 colours
    std::uint8_t reserved = 0;      // zero
    std::uint8_t planes = 0;        // colour planes, each a full row after the other
    std::uint16_t bytesPerLine = 0; // bytes of one plane's row, padding included
    std::uint16_t paletteInfo = 0;  // 1 colour, 2 gray; unused here
    // 58 further bytes (screen size, filler) complete the 128.
};

constexpr std::size_t kHeaderSize = 128;
constexpr std::uint8_t kManufacturer = 0x0A;
constexpr std::uint8_t kPaletteMarker = 0x0C;
constexpr std::size_t kTrailingPaletteSize = 1 + 768;

} // namespace pcx

pcx::Header readHeader(ByteReader& in) {
    pcx::Header h;
    h.manufacturer = in.u8();
    h.version = in.u8();
    h.encoding = in.u8();
    h.bitsPerPixel = in.u8();
    h.xMin = in.u16le();
    h.yMin = in.u16le();
    h.xMax = in.u16le();
    h.yMax = in.u16le();
    h.hDpi = in.u16le();
    h.vDpi = in.u16le();
    h.egaPalette = in.take(48);
    h.reserved = in.u8();
    h.planes = in.u8();
    h.bytesPerLine = in.u16le();
    h.paletteInfo = in.u16le();
    in.seek(pcx::kHeaderSize);
    return h;
}

bool isTrueColour(const pcx::Header& h) {
    return h.bitsPerPixel == 8 && (h.planes == 3 || h.planes == 4);
}

PictureSize checkHeader(const pcx::Header& h) {
    if (h.manufacturer != pcx::kManufacturer) {
        throw ProjectError("the file is not a ZSoft Paintbrush picture");
    }
    if (h.encoding > 1) {
        throw ProjectError("the ZSoft Paintbrush encoding " + std::to_string(h.encoding) +
                           " is not supported");
    }
    const int bits = h.bitsPerPixel;
    const bool indexed =
        (bits == 1 || bits == 2 || bits == 4 || bits == 8) && h.planes >= 1 && bits * h.planes <= 8;
    if (!indexed && !isTrueColour(h)) {
        throw ProjectError("ZSoft Paintbrush pictures of " + std::to_string(bits) + " bits in " +
                           std::to_string(h.planes) + " planes are not supported");
    }
    if (h.xMax < h.xMin || h.yMax < h.yMin) {
        throw ProjectError("the ZSoft Paintbrush picture window is empty");
    }
    const PictureSize size = checkPictureSize(h.xMax - h.xMin + 1, h.yMax - h.yMin + 1);
    if (static_cast<std::int64_t>(h.bytesPerLine) * 8 <
        static_cast<std::int64_t>(size.width) * bits) {
        throw ProjectError("the ZSoft Paintbrush rows are shorter than the picture is wide");
    }
    return size;
}

// Unpacks one scan line (all planes of one row) at a time; a run may carry on into the next
// line, as some writers let it.
class LineReader {
public:
    LineReader(ByteReader& in, bool runLength) : m_in(in), m_runLength(runLength) {}

    void read(std::vector<std::uint8_t>& line) {
        std::size_t filled = 0;
        while (filled < line.size()) {
            if (!m_runLength) {
                line[filled++] = m_in.u8();
                continue;
            }
            if (m_left == 0) {
                const std::uint8_t code = m_in.u8();
                if ((code & 0xC0) == 0xC0) {
                    m_left = code & 0x3F;
                    m_value = m_in.u8();
                } else {
                    m_left = 1;
                    m_value = code;
                }
            }
            while (m_left > 0 && filled < line.size()) {
                line[filled++] = m_value;
                --m_left;
            }
        }
    }

private:
    ByteReader& m_in;
    bool m_runLength;
    int m_left = 0;
    std::uint8_t m_value = 0;
};

// Where the pixel data that starts at the cursor ends: the lines are unpacked once more
// without being kept.
std::size_t endOfPixelData(ByteReader in, bool runLength, std::size_t lineBytes, int rows) {
    std::vector<std::uint8_t> line(lineBytes);
    LineReader lines(in, runLength);
    for (int y = 0; y < rows; ++y) {
        lines.read(line);
    }
    return in.position();
}

// Up to 256 colours from RGB triples; the ones the triples do not reach are black, as
// browsers show pixels past the end of a short colour table.
std::vector<Rgb> coloursFrom(Bytes triples) {
    std::vector<Rgb> palette(256);
    for (std::size_t i = 0; i < palette.size() && i * 3 + 2 < triples.size(); ++i) {
        palette[i] = {triples[i * 3], triples[i * 3 + 1], triples[i * 3 + 2]};
    }
    return palette;
}

// The colours an indexed picture's pixel values select. A 256-colour palette follows the
// pixel data behind a marker byte; it is looked for at its full size at the end of the
// file, then, shorter, right after the pixel data.
std::vector<Rgb> paletteOf(const pcx::Header& h, Bytes file, const ByteReader& pixelData,
                           int rows) {
    const int bits = h.bitsPerPixel * h.planes;
    if (bits == 1) {
        return {{0, 0, 0}, {255, 255, 255}};
    }
    if (bits <= 4) {
        return coloursFrom(h.egaPalette);
    }
    if (file.size() >= pcx::kHeaderSize + pcx::kTrailingPaletteSize &&
        file[file.size() - pcx::kTrailingPaletteSize] == pcx::kPaletteMarker) {
        return coloursFrom(file.last(pcx::kTrailingPaletteSize - 1));
    }
    const std::size_t end = endOfPixelData(
        pixelData, h.encoding == 1, static_cast<std::size_t>(h.bytesPerLine) * h.planes, rows);
    if (end < file.size() && file[end] == pcx::kPaletteMarker) {
        return coloursFrom(file.subspan(end + 1));
    }
    // Early 256-colour files were gray pictures without a palette.
    return grayRamp();
}

// The value of pixel x in a plane row of `bits` bits a pixel, most significant bits first.
unsigned packedValue(const std::uint8_t* plane, int x, int bits) {
    const int bit = x * bits;
    const int shift = 8 - bits - bit % 8;
    return plane[bit / 8] >> shift & ((1u << bits) - 1);
}

} // namespace

bool PcxReader::sniff(Bytes bytes) const {
    // The one-byte signature is weak: the version, encoding, depth and plane count must
    // hold values that occur too.
    if (bytes.size() < pcx::kHeaderSize || bytes[0] != pcx::kManufacturer) {
        return false;
    }
    const std::uint8_t version = bytes[1];
    const std::uint8_t bits = bytes[3];
    const std::uint8_t planes = bytes[65];
    return version <= 5 && version != 1 && bytes[2] <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8) && planes >= 1 && planes <= 4;
}

PictureSize PcxReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    return checkHeader(readHeader(in));
}

Bitmap PcxReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const pcx::Header h = readHeader(in);
    const PictureSize size = checkHeader(h);
    const std::size_t lineBytes = static_cast<std::size_t>(h.bytesPerLine) * h.planes;
    // A run of two bytes gives at most 63: refuse data that cannot hold the picture before
    // allocating it.
    const std::uint64_t stored = static_cast<std::uint64_t>(lineBytes) * size.height;
    if (in.remaining() < (h.encoding == 1 ? (stored + 62) / 63 * 2 : stored)) {
        throw ProjectError("the file is truncated");
    }

    const bool trueColour = isTrueColour(h);
    Bitmap bitmap = trueColour ? Bitmap(size.width, size.height)
                               : Bitmap::withPalette(size.width, size.height,
                                                     paletteOf(h, source.bytes, in, size.height));
    std::vector<std::uint8_t> line(lineBytes);
    LineReader lines(in, h.encoding == 1);
    for (int y = 0; y < size.height; ++y) {
        lines.read(line);
        std::uint8_t* row = bitmap.row(y);
        const std::uint8_t* planes = line.data();
        for (int x = 0; x < size.width; ++x) {
            if (trueColour) {
                const std::uint8_t* p = planes + x;
                const Rgb colour{p[0], p[h.bytesPerLine], p[2 * h.bytesPerLine]};
                const Rgb shown = h.planes == 4 ? overWhite(colour, p[3 * h.bytesPerLine]) : colour;
                row[x * 3] = shown.r;
                row[x * 3 + 1] = shown.g;
                row[x * 3 + 2] = shown.b;
                continue;
            }
            // Plane 0 holds the lowest bits of the colour index.
            unsigned index = 0;
            for (int p = 0; p < h.planes; ++p) {
                index |= packedValue(planes + static_cast<std::size_t>(p) * h.bytesPerLine, x,
                                     h.bitsPerPixel)
                         << (p * h.bitsPerPixel);
            }
            row[x] = static_cast<std::uint8_t>(index);
        }
    }
    return bitmap;
}

} // namespace vellumar
