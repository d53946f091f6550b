#include "rla_reader.h"

#include <string>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace rla {

constexpr std::size_t kHeaderSize = 740;
constexpr std::uint16_t kRevision = 0xfffe; // written by every later version of the format

// The fields of the 740-byte header that decoding needs; the rest is text and colorimetry.
struct Header {
    std::int16_t windowLeft = 0;     // offset 0: full window, left column
    std::int16_t windowRight = 0;    // offset 2: full window, right column
    std::int16_t windowBottom = 0;   // offset 4: full window, bottom row
    std::int16_t windowTop = 0;      // offset 6: full window, top row
    std::int16_t activeLeft = 0;     // offset 8: active window (the stored pixels), left column
    std::int16_t activeRight = 0;    // offset 10: active window, right column (inclusive)
    std::int16_t activeBottom = 0;   // offset 12: active window, bottom row
    std::int16_t activeTop = 0;      // offset 14: active window, top row (inclusive)
    std::int16_t colourChannels = 0; // offset 20: 1 (grey) or 3 (red, green, blue)
    std::int16_t matteChannels = 0;  // offset 22: alpha channels following the colour
    std::int16_t auxChannels = 0;    // offset 24: further channels (depth...), skipped
    std::uint16_t revision = 0;      // offset 26: 0xfffe in current files
    std::int16_t channelBits = 0;    // offset 658: bits a colour sample (0 in old files: 8)
    std::int16_t matteBits = 0;      // offset 662: bits a matte sample
    std::int16_t auxBits = 0;        // offset 666: bits an auxiliary sample
};

} // namespace rla

namespace {

rla::Header readHeader(Bytes bytes) {
    if (bytes.size() < rla::kHeaderSize) {
        throw ProjectError("the file is too short for an Alias/Wavefront header");
    }
    ByteReader cursor(bytes);
    rla::Header header;
    header.windowLeft = cursor.i16be();
    header.windowRight = cursor.i16be();
    header.windowBottom = cursor.i16be();
    header.windowTop = cursor.i16be();
    header.activeLeft = cursor.i16be();
    header.activeRight = cursor.i16be();
    header.activeBottom = cursor.i16be();
    header.activeTop = cursor.i16be();
    cursor.seek(20);
    header.colourChannels = cursor.i16be();
    header.matteChannels = cursor.i16be();
    header.auxChannels = cursor.i16be();
    header.revision = cursor.u16be();
    cursor.seek(658);
    header.channelBits = cursor.i16be();
    cursor.seek(662);
    header.matteBits = cursor.i16be();
    cursor.seek(666);
    header.auxBits = cursor.i16be();
    return header;
}

// Bytes a sample of a channel with this many bits; fails on depths other than 8 and 16.
int sampleBytes(std::int16_t bits, const char* what) {
    if (bits == 0 || bits == 8) {
        return 1;
    }
    if (bits == 16) {
        return 2;
    }
    throw ProjectError("the Alias/Wavefront picture has " + std::to_string(bits) + "-bit " + what +
                       " channels (8 and 16 bits can be read)");
}

PictureSize sizeOf(const rla::Header& header) {
    return checkPictureSize(std::int64_t{header.activeRight} - header.activeLeft + 1,
                            std::int64_t{header.activeTop} - header.activeBottom + 1);
}

void checkChannels(const rla::Header& header) {
    if (header.colourChannels != 1 && header.colourChannels != 3) {
        throw ProjectError("the Alias/Wavefront picture has " +
                           std::to_string(header.colourChannels) +
                           " colour channels (1 or 3 can be read)");
    }
    if (header.matteChannels < 0 || header.matteChannels > 1 || header.auxChannels < 0) {
        throw ProjectError("the Alias/Wavefront picture has an unreadable channel count");
    }
}

// Unpacks one run-length channel of a scan line into samples. A signed count byte starts
// each run: a negative count n is followed by -n literal bytes, a count n >= 0 by one byte
// repeated n + 1 times.
void unpackChannel(Bytes packed, std::vector<std::uint8_t>& out) {
    ByteReader cursor(packed);
    std::size_t filled = 0;
    while (filled < out.size()) {
        if (cursor.atEnd()) {
            throw ProjectError("an Alias/Wavefront scan line ends before its last pixel");
        }
        const auto count = static_cast<std::int8_t>(cursor.u8());
        const std::size_t length =
            count < 0 ? static_cast<std::size_t>(-count) : static_cast<std::size_t>(count) + 1;
        if (length > out.size() - filled) {
            throw ProjectError("an Alias/Wavefront run reaches past the end of its scan line");
        }
        if (count < 0) {
            const Bytes literal = cursor.take(length);
            std::copy(literal.begin(), literal.end(), out.begin() + filled);
        } else {
            std::fill_n(out.begin() + filled, length, cursor.u8());
        }
        filled += length;
    }
}

} // namespace

bool RlaReader::sniff(Bytes bytes) const {
    if (bytes.size() < rla::kHeaderSize) {
        return false;
    }
    const rla::Header header = readHeader(bytes);
    return header.revision == rla::kRevision &&
           (header.colourChannels == 1 || header.colourChannels == 3) &&
           header.activeRight >= header.activeLeft && header.activeTop >= header.activeBottom &&
           (header.channelBits == 8 || header.channelBits == 16);
}

PictureSize RlaReader::probe(const PictureSource& source) const {
    return sizeOf(readHeader(source.bytes));
}

Bitmap RlaReader::decode(const PictureSource& source) const {
    const rla::Header header = readHeader(source.bytes);
    const PictureSize size = sizeOf(header);
    checkChannels(header);
    const int colourBytes = sampleBytes(header.channelBits, "colour");
    const int matteBytes = header.matteChannels > 0 ? sampleBytes(header.matteBits, "matte") : 1;
    const int auxBytes = header.auxChannels > 0 ? sampleBytes(header.auxBits, "auxiliary") : 1;

    ByteReader table(source.bytes, rla::kHeaderSize);
    if (table.remaining() / 4 < static_cast<std::size_t>(size.height)) {
        throw ProjectError("the Alias/Wavefront scan-line table is truncated");
    }
    Bitmap picture(size.width, size.height);
    const std::size_t width = static_cast<std::size_t>(size.width);
    std::vector<std::uint8_t> colour[3];
    std::vector<std::uint8_t> matte;
    // The matte of every pixel, top row first, when the picture has one.
    std::vector<std::uint8_t> alpha(
        header.matteChannels > 0 ? width * static_cast<std::size_t>(size.height) : 0);
    std::vector<std::uint8_t> skipped;
    for (int line = 0; line < size.height; ++line) {
        ByteReader cursor(source.bytes);
        cursor.seek(table.u32be());
        const auto nextChannel = [&](std::vector<std::uint8_t>& samples, int bytesPerSample) {
            samples.resize(width * static_cast<std::size_t>(bytesPerSample));
            const std::uint16_t length = cursor.u16be();
            unpackChannel(cursor.take(length), samples);
        };
        for (int c = 0; c < header.colourChannels; ++c) {
            nextChannel(colour[c], colourBytes);
        }
        for (int c = 0; c < header.matteChannels; ++c) {
            nextChannel(matte, matteBytes);
        }
        for (int c = 0; c < header.auxChannels; ++c) {
            nextChannel(skipped, auxBytes);
        }
        const int row = size.height - 1 - line;
        std::uint8_t* out = picture.row(row);
        for (std::size_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const auto& channel = colour[header.colourChannels == 3 ? c : 0];
                out[x * 3 + c] = channel[x * colourBytes];
            }
            if (!alpha.empty()) {
                alpha[static_cast<std::size_t>(row) * width + x] = matte[x * matteBytes];
            }
        }
    }
    if (!alpha.empty()) {
        compositeOntoWhite(picture, alpha);
    }
    return picture;
}

} // namespace vellumar
