#include "ico_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/byte_reader.h"
#include "readers/dib_decoder.h"
#include "readers/png_reader.h"

namespace vellumar {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kDirectoryEntrySize = 16;

bool isPng(Bytes data) {
    return data.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
}

// One picture of the icon, described from its own header: the directory's sizes and depths
// are bytes that cannot say 256 or more and are often left 0.
struct IconEntry {
    Bytes data;
    bool png = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitDepth = 0;
};

IconEntry describePng(Bytes data) {
    ByteReader in(data);
    in.skip(sizeof kPngSignature + 4); // signature, chunk length
    if (in.u32be() != 0x49484452) {    // "IHDR"
        throw ProjectError("an embedded PNG picture does not start with its header");
    }
    IconEntry entry{data, true};
    entry.width = in.u32be();
    entry.height = in.u32be();
    const int sampleBits = in.u8();
    const int colourType = in.u8();
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    entry.bitDepth = sampleBits * channels;
    return entry;
}

IconEntry describe(Bytes data) {
    if (isPng(data)) {
        return describePng(data);
    }
    const DibHeader header = readDibHeader(data);
    // The height counts the colour rows and the transparency mask below them.
    return {data, false, header.width, header.height / 2, header.bitCount};
}

std::vector<IconEntry> readDirectory(Bytes bytes) {
    ByteReader in(bytes);
    in.skip(4);
    const std::uint16_t count = in.u16le();
    if (count == 0) {
        throw ProjectError("the icon holds no pictures");
    }
    std::vector<IconEntry> entries;
    for (std::uint16_t i = 0; i < count; ++i) {
        in.seek(6 + std::size_t{i} * kDirectoryEntrySize + 8);
        const std::uint32_t size = in.u32le();
        const std::uint32_t offset = in.u32le();
        entries.push_back(describe(in.slice(offset, size)));
    }
    return entries;
}

IconEntry largestEntry(Bytes bytes) {
    const std::vector<IconEntry> entries = readDirectory(bytes);
    return *std::max_element(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        // Sides are below 2^32, so the products fit.
        const std::uint64_t pixelsA = static_cast<std::uint64_t>(a.width) * a.height;
        const std::uint64_t pixelsB = static_cast<std::uint64_t>(b.width) * b.height;
        return pixelsA != pixelsB ? pixelsA < pixelsB : a.bitDepth < b.bitDepth;
    });
}

// The AND mask below the colour rows: one bit a pixel, set where the icon is transparent.
std::vector<std::uint8_t> readMaskAlpha(Bytes data, const DibHeader& header, std::uint64_t offset) {
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const Bytes mask = ByteReader(data).slice(offset, stride * height);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * height);
    for (int n = 0; n < height; ++n) {
        const std::uint8_t* bits = mask.data() + n * stride;
        const int y = header.topDown ? n : height - 1 - n;
        for (int x = 0; x < width; ++x) {
            const bool transparent = (bits[x / 8] >> (7 - x % 8)) & 1;
            alpha[static_cast<std::size_t>(y) * width + x] = transparent ? 0 : 255;
        }
    }
    return alpha;
}

Bitmap decodeBitmapEntry(Bytes data) {
    DibHeader header = readDibHeader(data);
    header.height /= 2;
    if (header.compression != DibCompression::None &&
        header.compression != DibCompression::Bitfields &&
        header.compression != DibCompression::AlphaBitfields) {
        throw ProjectError("run-length compressed icon pictures are not supported");
    }
    if (header.bitCount == 32 && header.compression == DibCompression::None) {
        header.masks[3] = 0xFF000000; // icons keep alpha in the fourth byte
    }
    const std::uint64_t pixelOffset = header.defaultPixelOffset();
    DibPicture picture = decodeDib(ByteSource(data), header, pixelOffset);
    if (picture.alpha.empty()) {
        picture.alpha = readMaskAlpha(data, header, pixelOffset + header.stride() * header.height);
    }
    compositeOntoWhite(picture.bitmap, picture.alpha);
    return std::move(picture.bitmap);
}

Bitmap decodePngEntry(const IconEntry& entry) {
    try {
        return PngReader().decode({entry.data, {}});
    } catch (const ProjectError& error) {
        throw ProjectError(std::string("the embedded PNG picture is damaged (") + error.what() +
                           ")");
    }
}

} // namespace

bool IcoReader::sniff(Bytes bytes) const {
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0;
}

PictureSize IcoReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not an icon file");
    }
    const IconEntry entry = largestEntry(source.bytes);
    return checkPictureSize(entry.width, entry.height);
}

Bitmap IcoReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not an icon file");
    }
    const IconEntry entry = largestEntry(source.bytes);
    return entry.png ? decodePngEntry(entry) : decodeBitmapEntry(entry.data);
}

} // namespace vellumar
