#include "psd_reader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "colour/colour_conversion.h"
#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace psd {

// The 26-byte file header (big-endian).
struct Header {
    std::uint32_t signature = 0; // "8BPS"
    std::uint16_t version = 0;   // 1; 2 marks the large document variant, not read here
    // 6 reserved bytes.
    std::uint16_t channels = 0;   // channels of the merged image, extra (alpha) ones included
    std::uint32_t height = 0;     // rows
    std::uint32_t width = 0;      // pixels a row
    std::uint16_t depth = 0;      // bits a channel: 1, 8, 16 or 32
    std::uint16_t colourMode = 0; // one of ColourMode
};

enum ColourMode : std::uint16_t {
    BitmapMode = 0,
    GrayscaleMode = 1,
    IndexedMode = 2,
    RgbMode = 3,
    CmykMode = 4,
    DuotoneMode = 8,
};

// How the merged image data is stored.
enum Compression : std::uint16_t {
    Raw = 0,
    PackBits = 1,
};

constexpr std::uint32_t kSignature = 0x38425053; // "8BPS"
constexpr std::size_t kIndexedPaletteSize = 768;

} // namespace psd

psd::Header readHeader(ByteReader& in) {
    psd::Header h;
    h.signature = in.u32be();
    h.version = in.u16be();
    in.skip(6);
    h.channels = in.u16be();
    h.height = in.u32be();
    h.width = in.u32be();
    h.depth = in.u16be();
    h.colourMode = in.u16be();
    return h;
}

// Channels that make up the colour; any further ones are alpha channels, not drawn.
int colourChannels(const psd::Header& h) {
    return h.colourMode == psd::RgbMode ? 3 : h.colourMode == psd::CmykMode ? 4 : 1;
}

PictureSize checkHeader(const psd::Header& h) {
    if (h.signature != psd::kSignature) {
        throw ProjectError("the file is not a Photoshop picture");
    }
    if (h.version != 1) {
        throw ProjectError("Photoshop files of version " + std::to_string(h.version) +
                           " are not supported");
    }
    switch (h.colourMode) {
    case psd::BitmapMode:
    case psd::GrayscaleMode:
    case psd::IndexedMode:
    case psd::RgbMode:
    case psd::CmykMode:
    case psd::DuotoneMode: // the gray image, whose ink curves are ignored
        break;
    default:
        throw ProjectError("the Photoshop colour mode " + std::to_string(h.colourMode) +
                           " is not supported");
    }
    const bool depthFits = h.colourMode == psd::BitmapMode    ? h.depth == 1
                           : h.colourMode == psd::IndexedMode ? h.depth == 8
                                                              : h.depth == 8 || h.depth == 16;
    if (!depthFits) {
        throw ProjectError("Photoshop pictures of " + std::to_string(h.depth) +
                           " bits a channel in this colour mode are not supported");
    }
    if (h.channels < colourChannels(h) || h.channels > 56) {
        throw ProjectError("the Photoshop picture has " + std::to_string(h.channels) +
                           " channels, which its colour mode cannot use");
    }
    return checkPictureSize(h.width, h.height);
}

// Skips one length-prefixed section and returns its contents.
Bytes section(ByteReader& in) {
    return in.take(in.u32be());
}

// Expands one PackBits-compressed row; fails unless it fills the row exactly.
void unpackRow(Bytes packed, std::vector<std::uint8_t>& row) {
    ByteReader in(packed);
    std::size_t filled = 0;
    while (filled < row.size() && !in.atEnd()) {
        const int code = static_cast<std::int8_t>(in.u8());
        if (code == -128) {
            continue; // no operation
        }
        const std::size_t count =
            code >= 0 ? static_cast<std::size_t>(code) + 1 : static_cast<std::size_t>(1 - code);
        if (count > row.size() - filled) {
            throw ProjectError("a Photoshop row unpacks to more bytes than the row holds");
        }
        if (code >= 0) {
            const Bytes literal = in.take(count);
            std::copy(literal.begin(), literal.end(), row.begin() + static_cast<long>(filled));
        } else {
            std::fill_n(row.begin() + static_cast<long>(filled), count, in.u8());
        }
        filled += count;
    }
    if (filled < row.size()) {
        throw ProjectError("a Photoshop row unpacks to fewer bytes than the row holds");
    }
}

// The stored rows of the colour channels, in either compression, each read by its channel
// and row: the channels are stored one after another, and a deep picture needs a row of each
// at once.
class ChannelRows {
public:
    ChannelRows(ByteReader& in, const psd::Header& h, std::size_t rowBytes)
        : m_rowBytes(rowBytes), m_height(h.height) {
        const std::uint16_t compression = in.u16be();
        if (compression != psd::Raw && compression != psd::PackBits) {
            throw ProjectError("the Photoshop compression " + std::to_string(compression) +
                               " is not supported");
        }
        m_packed = compression == psd::PackBits;
        const std::uint64_t used = static_cast<std::uint64_t>(colourChannels(h)) * m_height;
        if (!m_packed) {
            if (in.remaining() / m_rowBytes < used) {
                throw ProjectError("the file is truncated");
            }
            m_data = in.rest();
            return;
        }
        // The byte counts of every channel's rows come first; the rows follow in that order.
        const std::uint64_t allRows = static_cast<std::uint64_t>(h.channels) * m_height;
        if (in.remaining() / 2 < allRows) {
            throw ProjectError("the file is truncated");
        }
        // A two-byte run gives at most 128 bytes: a shorter row cannot be complete, and
        // checking that here keeps a small file from asking for a huge picture.
        const std::uint64_t leastRow = (m_rowBytes + 127) / 128 * 2;
        m_starts.resize(static_cast<std::size_t>(used) + 1);
        for (std::size_t row = 0; row < used; ++row) {
            const std::uint16_t count = in.u16be();
            if (count < leastRow) {
                throw ProjectError("a Photoshop row unpacks to fewer bytes than the row holds");
            }
            m_starts[row + 1] = m_starts[row] + count;
        }
        in.skip((allRows - used) * 2);
        if (in.remaining() < m_starts.back()) {
            throw ProjectError("the file is truncated");
        }
        m_data = in.rest();
    }

    // Row y of colour channel c, unpacked.
    void read(int c, int y, std::vector<std::uint8_t>& row) const {
        const std::size_t index =
            static_cast<std::size_t>(c) * m_height + static_cast<std::size_t>(y);
        if (!m_packed) {
            const Bytes stored = m_data.subspan(index * m_rowBytes, m_rowBytes);
            std::copy(stored.begin(), stored.end(), row.begin());
            return;
        }
        unpackRow(m_data.subspan(m_starts[index], m_starts[index + 1] - m_starts[index]), row);
    }

private:
    std::size_t m_rowBytes;
    std::uint32_t m_height;
    bool m_packed = false;
    Bytes m_data; // from the first stored row on
    // Where each packed row starts within the data, and where the last one ends.
    std::vector<std::size_t> m_starts;
};

std::vector<Rgb> indexedPalette(Bytes colourModeData) {
    if (colourModeData.size() < psd::kIndexedPaletteSize) {
        throw ProjectError("the indexed Photoshop picture has no colour table");
    }
    // 256 reds, then 256 greens, then 256 blues.
    std::vector<Rgb> palette(256);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {colourModeData[i], colourModeData[256 + i], colourModeData[512 + i]};
    }
    return palette;
}

// Sample x of a stored row of 16-bit samples.
std::uint16_t wordAt(const std::vector<std::uint8_t>& row, std::size_t x) {
    return static_cast<std::uint16_t>(row[x * 2] << 8 | row[x * 2 + 1]);
}

// Sample x of a stored row, as an 8-bit value.
std::uint8_t sampleAt(const std::vector<std::uint8_t>& row, std::size_t x, int depth) {
    if (depth == 16) {
        return scaleToByte(wordAt(row, x), 16);
    }
    if (depth == 1) {
        return row[x / 8] >> (7 - x % 8) & 1 ? 0 : 255; // a set bit is black
    }
    return row[x];
}

// The ICC profile among the image resources ("8BIM", a number, a padded Pascal name, a
// padded length-prefixed body), or nothing.
std::optional<Bytes> embeddedProfile(Bytes resources) {
    constexpr std::uint16_t kIccProfile = 1039;
    ByteReader in(resources);
    while (in.has(12)) {
        if (in.u32be() != 0x3842494D) { // "8BIM"
            return std::nullopt;
        }
        const std::uint16_t id = in.u16be();
        const std::uint8_t nameLength = in.u8();
        in.skip(nameLength + (nameLength % 2 == 0 ? 1u : 0u)); // name and length padded even
        const std::uint32_t length = in.u32be();
        const Bytes body = in.take(length);
        if (id == kIccProfile) {
            return body;
        }
        in.skip(length % 2);
    }
    return std::nullopt;
}

// How the file says its colours are to be understood: its embedded profile; CMYK without one
// as printed on a press.
ColourDescription colourOf(Bytes bytes) {
    ByteReader in(bytes);
    const psd::Header h = readHeader(in);
    checkHeader(h);
    section(in); // colour mode data
    const auto profile = embeddedProfile(section(in));
    const bool cmyk = h.colourMode == psd::CmykMode;
    if (profile && (cmyk || h.colourMode == psd::RgbMode || h.colourMode == psd::GrayscaleMode)) {
        return ColourDescription::iccProfile({profile->begin(), profile->end()});
    }
    return cmyk ? ColourDescription::pressCmyk() : ColourDescription::srgb();
}

// CMYK ink is converted as it is read, through the file's own profile, else the press
// profile; without either it becomes RGB by ink arithmetic.
std::optional<ColourConverter> cmykConverter(const PictureSource& source, SampleLayout layout) {
    if (auto own = ColourConverter::make(colourOf(source.bytes), layout, source.colourSpace)) {
        return own;
    }
    return ColourConverter::make(ColourDescription::pressCmyk(), layout, source.colourSpace);
}

// How the samples are converted as they are read, or nothing when they are sRGB already. CMYK
// goes through its profile; 16-bit pictures with a profile of their own, and 16-bit CMYK ones,
// are converted from their full samples, before they are cut to 8 bits, lest smooth gradients
// of wide-gamut pictures band. The colour is the reader's, which is sRGB when the resources
// cannot be read.
std::optional<ColourConverter> converterFor(const PictureSource& source, const psd::Header& h,
                                            const ColourDescription& colour) {
    const bool deep = h.depth == 16;
    if (h.colourMode == psd::CmykMode) {
        return cmykConverter(source,
                             deep ? SampleLayout::InvertedCmyk16 : SampleLayout::InvertedCmyk8);
    }
    if (!deep || (h.colourMode != psd::RgbMode && h.colourMode != psd::GrayscaleMode) ||
        colour.isSrgb()) {
        return std::nullopt;
    }
    return ColourConverter::make(colour, SampleLayout::Rgb16, source.colourSpace);
}

// The rows of a deep picture, each gathered from the channels and converted on its own, so
// that no 16-bit copy of the whole picture is held; gray is repeated into the three words.
void readDeepRows(const ChannelRows& rows, int channels, Bitmap& bitmap,
                  const ColourConverter& converter) {
    const auto width = static_cast<std::size_t>(bitmap.width());
    const std::size_t perPixel = channels == 1 ? 3 : static_cast<std::size_t>(channels);
    std::vector<std::uint8_t> stored(width * 2);
    std::vector<std::uint16_t> words(width * perPixel);
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int c = 0; c < channels; ++c) {
            rows.read(c, y, stored);
            for (std::size_t x = 0; x < width; ++x) {
                const std::uint16_t word = wordAt(stored, x);
                if (channels == 1) {
                    words[x * 3] = words[x * 3 + 1] = words[x * 3 + 2] = word;
                } else {
                    words[x * perPixel + static_cast<std::size_t>(c)] = word;
                }
            }
        }
        converter.convert(words.data(), bitmap.row(y), width);
    }
}

} // namespace

ColourDescription PsdReader::colour(const PictureSource& source) const {
    try {
        return colourOf(source.bytes);
    } catch (const ProjectError&) {
        return ColourDescription::srgb(); // decode says what is wrong
    }
}

bool PsdReader::convertsColour(const PictureSource& source) const {
    try {
        ByteReader in(source.bytes);
        return converterFor(source, readHeader(in), colour(source)).has_value();
    } catch (const ProjectError&) {
        return false; // decode says what is wrong
    }
}

bool PsdReader::sniff(Bytes bytes) const {
    return bytes.size() >= 6 && bytes[0] == '8' && bytes[1] == 'B' && bytes[2] == 'P' &&
           bytes[3] == 'S' && bytes[4] == 0 && bytes[5] == 1;
}

PictureSize PsdReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    return checkHeader(readHeader(in));
}

Bitmap PsdReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const psd::Header h = readHeader(in);
    const PictureSize size = checkHeader(h);
    const Bytes colourModeData = section(in);
    section(in); // image resources
    section(in); // layers and masks
    const std::size_t rowBytes = (static_cast<std::size_t>(size.width) * h.depth + 7) / 8;
    const ChannelRows rows(in, h, rowBytes);
    const int channels = colourChannels(h);
    const auto converter = converterFor(source, h, colour(source));
    if (converter && h.depth == 16) {
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        readDeepRows(rows, channels, bitmap, *converter);
        return bitmap;
    }

    const bool indexed = h.colourMode == psd::IndexedMode;
    Bitmap bitmap =
        indexed ? Bitmap::withPalette(size.width, size.height, indexedPalette(colourModeData))
                : Bitmap(size.width, size.height);
    std::vector<std::uint8_t> stored(rowBytes);
    std::vector<std::uint8_t> ink(converter ? static_cast<std::size_t>(size.width) * 4 : 0);
    for (int c = 0; c < channels; ++c) {
        for (int y = 0; y < size.height; ++y) {
            rows.read(c, y, stored);
            std::uint8_t* row = bitmap.row(y);
            for (std::size_t x = 0; x < static_cast<std::size_t>(size.width); ++x) {
                const std::uint8_t value = sampleAt(stored, x, h.depth);
                if (indexed) {
                    row[x] = value;
                } else if (channels == 1) {
                    row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = value;
                } else if (c < 3) {
                    row[x * 3 + static_cast<std::size_t>(c)] = value;
                } else if (converter) {
                    std::copy_n(row + x * 3, 3, ink.begin() + static_cast<long>(x * 4));
                    ink[x * 4 + 3] = value;
                } else {
                    // Inks are stored inverted, so each stored colour value is the share of
                    // light that ink lets through, as is the black value.
                    for (int i = 0; i < 3; ++i) {
                        std::uint8_t& v = row[x * 3 + static_cast<std::size_t>(i)];
                        v = static_cast<std::uint8_t>((v * value + 127) / 255);
                    }
                }
            }
            // The black row completes the row's ink.
            if (converter && c == 3) {
                converter->convert(ink.data(), bitmap.row(y), static_cast<std::size_t>(size.width));
            }
        }
    }
    return bitmap;
}

} // namespace vellumar
