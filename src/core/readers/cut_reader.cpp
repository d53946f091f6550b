#include "cut_reader.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "file_io.h"
#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace halo {

// The 6-byte picture header (little-endian); run-length encoded rows follow, each led by
// its byte count.
struct CutHeader {
    std::uint16_t width = 0;    // pixels a row
    std::uint16_t height = 0;   // rows
    std::uint16_t reserved = 0; // zero
};

// The 40-byte header of the palette file (little-endian).
struct PaletteHeader {
    std::uint16_t fileId = 0;       // "AH"
    std::uint16_t version = 0;      // file format version, unused here
    std::uint16_t size = 0;         // file size less the header, unused here
    std::uint8_t fileType = 0;      // 10 for a palette
    std::uint8_t subType = 0;       // 0 for a plain palette
    std::uint16_t boardId = 0;      // display board, unused here
    std::uint16_t graphicsMode = 0; // display mode, unused here
    std::uint16_t maxIndex = 0;     // highest colour index, so maxIndex + 1 entries
    std::uint16_t maxRed = 0;       // value of full red
    std::uint16_t maxGreen = 0;     // value of full green
    std::uint16_t maxBlue = 0;      // value of full blue
    // A 20-byte palette name ("Dr. Halo") completes the 40.
};

constexpr std::uint16_t kPaletteFileId = 'A' | 'H' << 8;
constexpr std::size_t kPaletteHeaderSize = 40;
// Palette entries are kept in 512-byte blocks, and an entry never straddles two of them.
constexpr std::size_t kPaletteBlock = 512;
constexpr std::size_t kEntrySize = 6;
// A larger palette file is not one: it is read no further than this.
constexpr std::size_t kPaletteFileLimit = 64 * 1024;
// A raw VGA palette: 256 RGB triples with nothing around them.
constexpr std::size_t kRawPaletteSize = 768;

} // namespace halo

halo::CutHeader readHeader(ByteReader& in) {
    halo::CutHeader h;
    h.width = in.u16le();
    h.height = in.u16le();
    h.reserved = in.u16le();
    return h;
}

// The palette file beside the picture: its name with ".pal" (or ".PAL") for the extension.
std::optional<std::vector<std::uint8_t>> findPaletteFile(const std::string& picturePath) {
    if (picturePath.empty()) {
        return std::nullopt;
    }
    for (const char* extension : {".pal", ".PAL"}) {
        std::filesystem::path candidate(picturePath);
        candidate.replace_extension(extension);
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return readFileBytes(candidate.string(), halo::kPaletteFileLimit);
        }
    }
    return std::nullopt;
}

std::uint8_t scaleComponent(unsigned value, unsigned maximum) {
    return static_cast<std::uint8_t>(std::min(255u, (value * 255 + maximum / 2) / maximum));
}

// Reads a Dr. Halo palette; a file of another layout gives no palette.
std::optional<std::vector<Rgb>> parsePalette(Bytes file) {
    ByteReader in(file);
    if (file.size() == halo::kRawPaletteSize) {
        const bool sixBit = std::all_of(file.begin(), file.end(), [](auto v) { return v < 64; });
        std::vector<Rgb> palette(256);
        for (auto& colour : palette) {
            const Bytes t = in.take(3);
            colour = {scaleComponent(t[0], sixBit ? 63 : 255),
                      scaleComponent(t[1], sixBit ? 63 : 255),
                      scaleComponent(t[2], sixBit ? 63 : 255)};
        }
        return palette;
    }
    if (file.size() < halo::kPaletteHeaderSize || in.u16le() != halo::kPaletteFileId) {
        return std::nullopt;
    }
    halo::PaletteHeader h;
    h.fileId = halo::kPaletteFileId;
    h.version = in.u16le();
    h.size = in.u16le();
    h.fileType = in.u8();
    h.subType = in.u8();
    h.boardId = in.u16le();
    h.graphicsMode = in.u16le();
    h.maxIndex = in.u16le();
    h.maxRed = in.u16le();
    h.maxGreen = in.u16le();
    h.maxBlue = in.u16le();
    in.seek(halo::kPaletteHeaderSize);

    const std::size_t count = std::min<std::size_t>(h.maxIndex + 1u, 256);
    std::vector<std::uint16_t> components;
    while (components.size() < count * 3 && in.remaining() >= halo::kEntrySize) {
        if (in.position() % halo::kPaletteBlock + halo::kEntrySize > halo::kPaletteBlock) {
            in.seek((in.position() / halo::kPaletteBlock + 1) * halo::kPaletteBlock);
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            components.push_back(in.u16le());
        }
    }
    if (components.empty()) {
        return std::nullopt;
    }
    // Some writers leave the full-scale values at zero; the entries then show their range.
    const unsigned largest = *std::max_element(components.begin(), components.end());
    const unsigned guessed = largest < 64 ? 63 : largest < 256 ? 255 : 65535;
    const auto scaleOf = [&](std::uint16_t declared) { return declared ? declared : guessed; };
    std::vector<Rgb> palette(components.size() / 3);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {scaleComponent(components[i * 3], scaleOf(h.maxRed)),
                      scaleComponent(components[i * 3 + 1], scaleOf(h.maxGreen)),
                      scaleComponent(components[i * 3 + 2], scaleOf(h.maxBlue))};
    }
    return palette;
}

// Unpacks one row into `row`: a count byte with the high bit set repeats the next byte, any
// other count copies that many bytes, and zero ends the row. The row must come out exactly
// as wide as the picture.
void unpackRow(Bytes packed, std::uint8_t* row, std::size_t width) {
    ByteReader in(packed);
    std::size_t x = 0;
    while (!in.atEnd()) {
        const std::uint8_t code = in.u8();
        const std::size_t count = code & 0x7F;
        if (code == 0) {
            break;
        }
        if (count > width - x) {
            throw ProjectError("a Dr. Halo row holds more pixels than the picture is wide");
        }
        if (code & 0x80) {
            std::fill_n(row + x, count, in.u8());
        } else {
            const Bytes literal = in.take(count);
            std::copy(literal.begin(), literal.end(), row + x);
        }
        x += count;
    }
    if (x < width) {
        throw ProjectError("a Dr. Halo row holds fewer pixels than the picture is wide");
    }
}

} // namespace

bool CutReader::sniff(Bytes) const {
    // The format has no signature to recognise it by; only the extension selects it.
    return false;
}

PictureSize CutReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const halo::CutHeader h = readHeader(in);
    return checkPictureSize(h.width, h.height);
}

Bitmap CutReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const halo::CutHeader h = readHeader(in);
    const PictureSize size = checkPictureSize(h.width, h.height);
    // Every row is its two-byte count and runs of at most 127 pixels from two bytes each:
    // data too short for that cannot hold the picture, which is refused before allocating.
    const std::uint64_t leastRow = 2 + (static_cast<std::uint64_t>(size.width) + 126) / 127 * 2;
    if (in.remaining() / leastRow < static_cast<std::uint64_t>(size.height)) {
        throw ProjectError("the file is truncated");
    }
    std::vector<Rgb> palette;
    if (const auto file = findPaletteFile(source.path)) {
        palette = parsePalette(*file).value_or(std::vector<Rgb>{});
    }
    if (palette.empty()) {
        palette = grayRamp();
    }
    const std::size_t colours = palette.size();

    Bitmap bitmap = Bitmap::withPalette(size.width, size.height, std::move(palette));
    for (int y = 0; y < size.height; ++y) {
        std::uint8_t* row = bitmap.row(y);
        unpackRow(in.take(in.u16le()), row, static_cast<std::size_t>(size.width));
        const auto outside =
            std::find_if(row, row + size.width, [&](std::uint8_t v) { return v >= colours; });
        if (outside != row + size.width) {
            throw ProjectError("the picture uses colour " + std::to_string(*outside) +
                               ", but its palette holds only " + std::to_string(colours) +
                               " colours");
        }
    }
    return bitmap;
}

} // namespace vellumar
