#include "pnm_reader.h"

#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace {

constexpr std::uint32_t kMaxSampleValue = 65535;
constexpr std::uint32_t kMaxHeaderNumber = 0x7FFFFFFF;

enum class PnmKind { Bits, Gray, Colour };

bool isBlank(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void failTruncated() {
    throw ProjectError("the file is truncated (it ends before the picture does)");
}

// The text side of the format: numbers separated by blanks, and comments from '#' to the
// end of the line wherever a blank may stand.
class PnmText {
public:
    PnmText(Bytes bytes, std::size_t position) : m_bytes(bytes), m_position(position) {}

    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_bytes.size() - m_position; }

    void skipBlanksAndComments() {
        while (m_position < m_bytes.size()) {
            if (m_bytes[m_position] == '#') {
                skipComment();
            } else if (isBlank(m_bytes[m_position])) {
                ++m_position;
            } else {
                return;
            }
        }
    }

    std::uint32_t number(std::uint32_t limit, const char* what) {
        skipBlanksAndComments();
        if (m_position == m_bytes.size()) {
            failTruncated();
        }
        if (!isDigit(m_bytes[m_position])) {
            throw ProjectError(std::string("the file has a stray character where the ") + what +
                               " should be");
        }
        std::uint64_t value = 0;
        while (m_position < m_bytes.size() && isDigit(m_bytes[m_position])) {
            value = value * 10 + (m_bytes[m_position++] - '0');
            if (value > limit) {
                throw ProjectError(std::string("the ") + what + " is out of range (at most " +
                                   std::to_string(limit) + ")");
            }
        }
        return static_cast<std::uint32_t>(value);
    }

    // A plain bit map's pixel: one digit, blanks between pixels being optional.
    bool bit() {
        skipBlanksAndComments();
        if (m_position == m_bytes.size()) {
            failTruncated();
        }
        const std::uint8_t c = m_bytes[m_position++];
        if (c != '0' && c != '1') {
            throw ProjectError("the file has a stray character where a pixel should be");
        }
        return c == '1';
    }

    // The one blank that separates a raw map's header from its pixels; a comment may come
    // first, its line end then being that blank.
    void endOfHeader() {
        if (m_position < m_bytes.size() && m_bytes[m_position] == '#') {
            skipComment();
            return;
        }
        if (m_position == m_bytes.size()) {
            failTruncated();
        }
        if (!isBlank(m_bytes[m_position])) {
            throw ProjectError("the header does not end with a blank");
        }
        ++m_position;
    }

private:
    // Skips a comment and the line end after it.
    void skipComment() {
        while (m_position < m_bytes.size() && m_bytes[m_position] != '\n' &&
               m_bytes[m_position] != '\r') {
            ++m_position;
        }
        if (m_position < m_bytes.size()) {
            ++m_position;
        }
    }

    Bytes m_bytes;
    std::size_t m_position;
};

struct PnmHeader {
    PnmKind kind = PnmKind::Colour;
    bool plain = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t maxValue = 1;
    std::size_t pixelOffset = 0; // where the pixels start

    int channels() const { return kind == PnmKind::Colour ? 3 : 1; }
};

bool hasSignature(Bytes bytes) {
    return bytes.size() >= 3 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '6' &&
           (isBlank(bytes[2]) || bytes[2] == '#');
}

PnmHeader readHeader(Bytes bytes) {
    if (!hasSignature(bytes)) {
        throw ProjectError("not a portable pixel, gray or bit map (no P1 to P6 signature)");
    }
    const int type = bytes[1] - '0';
    PnmHeader header;
    header.plain = type <= 3;
    header.kind = type % 3 == 1 ? PnmKind::Bits : type % 3 == 2 ? PnmKind::Gray : PnmKind::Colour;
    PnmText text(bytes, 2);
    header.width = text.number(kMaxHeaderNumber, "width");
    header.height = text.number(kMaxHeaderNumber, "height");
    if (header.kind != PnmKind::Bits) {
        header.maxValue = text.number(kMaxSampleValue, "maximum sample value");
        if (header.maxValue == 0) {
            throw ProjectError("the maximum sample value is 0");
        }
    }
    if (!header.plain) {
        text.endOfHeader();
    }
    header.pixelOffset = text.position();
    return header;
}

// Sample values scaled to 0..255; values above the maximum, which a damaged file may hold,
// read as the maximum.
class SampleScale {
public:
    explicit SampleScale(std::uint32_t maxValue) : m_table(maxValue + 1) {
        for (std::uint32_t v = 0; v <= maxValue; ++v) {
            m_table[v] =
                static_cast<std::uint8_t>((std::uint64_t{v} * 255 + maxValue / 2) / maxValue);
        }
    }
    std::uint8_t operator()(std::uint32_t value) const {
        return value < m_table.size() ? m_table[value] : 255;
    }

private:
    std::vector<std::uint8_t> m_table;
};

Bitmap emptyBitmap(const PnmHeader& header, const PictureSize& size) {
    switch (header.kind) {
    case PnmKind::Bits:
        return Bitmap::withPalette(size.width, size.height, {{255, 255, 255}, {0, 0, 0}});
    case PnmKind::Gray: {
        std::vector<Rgb> grays(256);
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<std::uint8_t>(i);
            grays[static_cast<std::size_t>(i)] = {v, v, v};
        }
        return Bitmap::withPalette(size.width, size.height, std::move(grays));
    }
    case PnmKind::Colour:
        break;
    }
    return Bitmap(size.width, size.height);
}

// Plain maps: at least one character a sample, and a blank between two numbers.
void checkPlainLength(const PnmHeader& header, std::size_t available) {
    const std::uint64_t samples =
        static_cast<std::uint64_t>(header.width) * header.height * header.channels();
    const std::uint64_t least = header.kind == PnmKind::Bits ? samples : samples * 2 - 1;
    if (available < least) {
        failTruncated();
    }
}

void decodePlain(Bytes bytes, const PnmHeader& header, Bitmap& bitmap) {
    PnmText text(bytes, header.pixelOffset);
    const SampleScale scale(header.maxValue);
    const std::size_t rowSamples = bitmap.stride();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (std::size_t i = 0; i < rowSamples; ++i) {
            row[i] = header.kind == PnmKind::Bits ? static_cast<std::uint8_t>(text.bit())
                                                  : scale(text.number(kMaxHeaderNumber, "sample"));
        }
    }
}

void decodeRaw(Bytes bytes, const PnmHeader& header, Bitmap& bitmap) {
    const int width = bitmap.width();
    ByteReader in(bytes);
    in.seek(header.pixelOffset);
    if (header.kind == PnmKind::Bits) {
        const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
        const Bytes pixels = in.take(rowBytes * bitmap.height());
        for (int y = 0; y < bitmap.height(); ++y) {
            const std::uint8_t* bits = pixels.data() + y * rowBytes;
            std::uint8_t* row = bitmap.row(y);
            for (int x = 0; x < width; ++x) {
                row[x] = (bits[x / 8] >> (7 - x % 8)) & 1;
            }
        }
        return;
    }
    const std::size_t sampleBytes = header.maxValue > 255 ? 2 : 1;
    const std::size_t rowSamples = bitmap.stride();
    const Bytes pixels = in.take(rowSamples * sampleBytes * bitmap.height());
    const SampleScale scale(header.maxValue);
    const std::uint8_t* source = pixels.data();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (std::size_t i = 0; i < rowSamples; ++i, source += sampleBytes) {
            row[i] = scale(sampleBytes == 2 ? (source[0] << 8) | source[1] : source[0]);
        }
    }
}

// The raw pixels must all be there before the bitmap is allocated.
void checkRawLength(const PnmHeader& header, std::size_t available) {
    const std::uint64_t rowBytes = header.kind == PnmKind::Bits
                                       ? (static_cast<std::uint64_t>(header.width) + 7) / 8
                                       : static_cast<std::uint64_t>(header.width) *
                                             header.channels() * (header.maxValue > 255 ? 2 : 1);
    if (available < rowBytes * header.height) {
        failTruncated();
    }
}

} // namespace

bool PnmReader::sniff(Bytes bytes) const {
    return hasSignature(bytes);
}

PictureSize PnmReader::probe(const PictureSource& source) const {
    const PnmHeader header = readHeader(source.bytes);
    return checkPictureSize(header.width, header.height);
}

Bitmap PnmReader::decode(const PictureSource& source) const {
    const PnmHeader header = readHeader(source.bytes);
    const PictureSize size = checkPictureSize(header.width, header.height);
    const std::size_t available = source.bytes.size() - header.pixelOffset;
    if (header.plain) {
        checkPlainLength(header, available);
    } else {
        checkRawLength(header, available);
    }
    Bitmap bitmap = emptyBitmap(header, size);
    if (header.plain) {
        decodePlain(source.bytes, header, bitmap);
    } else {
        decodeRaw(source.bytes, header, bitmap);
    }
    return bitmap;
}

} // namespace vellumar
