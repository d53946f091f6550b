#include "targa_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace tga {

// The fixed 18-byte header at the start of every file (little-endian).
struct Header {
    std::uint8_t idLength = 0;       // bytes of free-form image id after the header
    std::uint8_t colourMapType = 0;  // 1 when a colour map follows the id
    std::uint8_t imageType = 0;      // 1/2/3 mapped/true-colour/gray, +8 when run-length encoded
    std::uint16_t mapFirstEntry = 0; // pixel value that selects the map's first entry
    std::uint16_t mapLength = 0;     // number of colour map entries
    std::uint8_t mapEntryBits = 0;   // 15, 16, 24 or 32 bits a map entry
    std::uint16_t xOrigin = 0;       // screen position, unused here
    std::uint16_t yOrigin = 0;       // screen position, unused here
    std::uint16_t width = 0;         // pixels a row
    std::uint16_t height = 0;        // rows
    std::uint8_t pixelBits = 0;      // bits a stored pixel
    std::uint8_t descriptor = 0;     // bits 0-3 alpha bits, bit 4 right-to-left, bit 5 top-down
};

constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopDown = 0x20;
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";

} // namespace tga

enum class PixelKind { Mapped, TrueColour, Gray };

tga::Header readHeader(ByteReader& in) {
    tga::Header h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    h.mapFirstEntry = in.u16le();
    h.mapLength = in.u16le();
    h.mapEntryBits = in.u8();
    h.xOrigin = in.u16le();
    h.yOrigin = in.u16le();
    h.width = in.u16le();
    h.height = in.u16le();
    h.pixelBits = in.u8();
    h.descriptor = in.u8();
    return h;
}

PixelKind kindOf(const tga::Header& h) {
    switch (h.imageType) {
    case 1:
    case 9:
        return PixelKind::Mapped;
    case 2:
    case 10:
        return PixelKind::TrueColour;
    case 3:
    case 11:
        return PixelKind::Gray;
    default:
        throw ProjectError("the Truevision image type " + std::to_string(h.imageType) +
                           " is not supported");
    }
}

// Checks the fields the decoder relies on and returns the picture's size.
PictureSize checkHeader(const tga::Header& h) {
    const PixelKind kind = kindOf(h);
    const int bits = h.pixelBits;
    const bool bitsFit = kind == PixelKind::Mapped ? bits == 8
                         : kind == PixelKind::Gray
                             ? bits == 8 || bits == 16
                             : bits == 15 || bits == 16 || bits == 24 || bits == 32;
    if (!bitsFit) {
        throw ProjectError("the Truevision picture has an unsupported depth of " +
                           std::to_string(bits) + " bits a pixel");
    }
    if (h.colourMapType > 1) {
        throw ProjectError("the Truevision colour map type " + std::to_string(h.colourMapType) +
                           " is not supported");
    }
    if (kind == PixelKind::Mapped && (h.colourMapType != 1 || h.mapLength == 0)) {
        throw ProjectError("the colour-mapped Truevision picture has no colour map");
    }
    if (h.colourMapType == 1 && h.mapEntryBits != 15 && h.mapEntryBits != 16 &&
        h.mapEntryBits != 24 && h.mapEntryBits != 32) {
        throw ProjectError("the Truevision colour map has unsupported " +
                           std::to_string(h.mapEntryBits) + "-bit entries");
    }
    return checkPictureSize(h.width, h.height);
}

// Turns one stored true-colour value (15 to 32 bits, blue first) into an opaque colour.
Rgb trueColour(const std::uint8_t* p, int bits, bool useAlpha) {
    if (bits == 15 || bits == 16) {
        const unsigned v = p[0] | p[1] << 8;
        const Rgb colour{scaleToByte(v >> 10 & 31, 5), scaleToByte(v >> 5 & 31, 5),
                         scaleToByte(v & 31, 5)};
        return useAlpha && bits == 16 && !(v & 0x8000) ? Rgb{255, 255, 255} : colour;
    }
    const Rgb colour{p[2], p[1], p[0]};
    return useAlpha && bits == 32 ? overWhite(colour, p[3]) : colour;
}

// The colours of a colour-mapped picture, indexed by the stored pixel value. Values below
// the map's first entry or past its end name no colour and show black, as browsers show
// such pixels of the formats they read.
std::vector<Rgb> readColourMap(ByteReader& in, const tga::Header& h) {
    const int entryBytes = (h.mapEntryBits + 7) / 8;
    const bool alpha = (h.descriptor & 0x0F) != 0;
    std::vector<Rgb> colours(256);
    for (int i = 0; i < h.mapLength; ++i) {
        const Bytes entry = in.take(static_cast<std::uint64_t>(entryBytes));
        const auto value = static_cast<std::size_t>(h.mapFirstEntry + i);
        if (value < colours.size()) {
            colours[value] = trueColour(entry.data(), h.mapEntryBits, alpha);
        }
    }
    return colours;
}

// Hands out the stored pixels one at a time, expanding run-length packets, which may run
// across rows.
class PixelStream {
public:
    PixelStream(ByteReader& in, int pixelBytes, bool runLength)
        : m_in(in), m_pixelBytes(pixelBytes), m_runLength(runLength) {}

    const std::uint8_t* next() {
        if (!m_runLength) {
            return m_in.take(static_cast<std::uint64_t>(m_pixelBytes)).data();
        }
        if (m_left == 0) {
            const std::uint8_t packet = m_in.u8();
            m_left = (packet & 0x7F) + 1;
            m_repeat = (packet & 0x80) != 0;
            if (m_repeat) {
                std::memcpy(m_pixel.data(),
                            m_in.take(static_cast<std::uint64_t>(m_pixelBytes)).data(),
                            static_cast<std::size_t>(m_pixelBytes));
            }
        }
        --m_left;
        if (m_repeat) {
            return m_pixel.data();
        }
        return m_in.take(static_cast<std::uint64_t>(m_pixelBytes)).data();
    }

private:
    ByteReader& m_in;
    int m_pixelBytes;
    bool m_runLength;
    int m_left = 0;
    bool m_repeat = false;
    std::array<std::uint8_t, 4> m_pixel{};
};

} // namespace

bool TargaReader::sniff(Bytes bytes) const {
    // The format has no leading signature; only files with the newer footer say what they are.
    constexpr std::size_t footerSize = 26;
    if (bytes.size() < 18 + footerSize) {
        return false;
    }
    const Bytes signature =
        bytes.subspan(bytes.size() - footerSize + 8, sizeof tga::kFooterSignature);
    return std::equal(signature.begin(), signature.end(),
                      reinterpret_cast<const std::uint8_t*>(tga::kFooterSignature));
}

PictureSize TargaReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    return checkHeader(readHeader(in));
}

Bitmap TargaReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const tga::Header h = readHeader(in);
    const PictureSize size = checkHeader(h);
    const PixelKind kind = kindOf(h);
    in.skip(h.idLength);

    std::vector<Rgb> colours;
    if (h.colourMapType == 1) {
        if (kind == PixelKind::Mapped) {
            colours = readColourMap(in, h);
        } else {
            in.skip(static_cast<std::uint64_t>(h.mapLength) * ((h.mapEntryBits + 7) / 8));
        }
    }

    const int pixelBytes = (h.pixelBits + 7) / 8;
    const bool runLength = (h.imageType & 8) != 0;
    const std::uint64_t pixels = static_cast<std::uint64_t>(size.width) * size.height;
    // Refuse before allocating when the data cannot hold the picture: a packet of one header
    // byte and one pixel gives at most 128 pixels.
    const std::uint64_t leastData =
        runLength ? (pixels + 127) / 128 * (1 + static_cast<std::uint64_t>(pixelBytes))
                  : pixels * static_cast<std::uint64_t>(pixelBytes);
    if (in.remaining() < leastData) {
        throw ProjectError("the file is truncated");
    }

    Bitmap bitmap = kind == PixelKind::Mapped
                        ? Bitmap::withPalette(size.width, size.height, std::move(colours))
                        : Bitmap(size.width, size.height);
    const bool alpha = (h.descriptor & 0x0F) != 0;
    const bool topDown = (h.descriptor & tga::kTopDown) != 0;
    const bool rightToLeft = (h.descriptor & tga::kRightToLeft) != 0;
    PixelStream stream(in, pixelBytes, runLength);
    for (int stored = 0; stored < size.height; ++stored) {
        std::uint8_t* row = bitmap.row(topDown ? stored : size.height - 1 - stored);
        for (int i = 0; i < size.width; ++i) {
            const std::uint8_t* p = stream.next();
            const auto x = static_cast<std::size_t>(rightToLeft ? size.width - 1 - i : i);
            if (kind == PixelKind::Mapped) {
                row[x] = *p;
                continue;
            }
            Rgb colour;
            if (kind == PixelKind::Gray) {
                colour = {p[0], p[0], p[0]};
                if (pixelBytes == 2 && alpha) {
                    colour = overWhite(colour, p[1]);
                }
            } else {
                colour = trueColour(p, h.pixelBits, alpha);
            }
            row[x * 3] = colour.r;
            row[x * 3 + 1] = colour.g;
            row[x * 3 + 2] = colour.b;
        }
    }
    return bitmap;
}

} // namespace vellumar
