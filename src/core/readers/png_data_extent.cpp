#include "png_data_extent.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>
#include <zlib.h>

#include "readers/byte_reader.h"

namespace vellumar {

namespace {

constexpr std::size_t kSignatureSize = 8;
constexpr std::uint32_t kIdat = 0x49444154;
constexpr std::uint32_t kIhdr = 0x49484452;

struct Header {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t bitsPerPixel = 0;
    bool interlaced = false;
};

std::uint64_t samplesPerPixel(std::uint8_t colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1; // gray and palette
    }
}

// Bytes of one stored row of the given width: the filter byte and the packed pixels.
std::uint64_t rowBytes(const Header& header, std::uint64_t width) {
    return 1 + (width * header.bitsPerPixel + 7) / 8;
}

// The IDAT data the file holds, as far as it goes; the header from the IHDR chunk.
std::vector<std::uint8_t> storedData(ByteReader& in, Header& header) {
    std::vector<std::uint8_t> data;
    while (in.has(8)) {
        const std::uint32_t length = in.u32be();
        const std::uint32_t type = in.u32be();
        const Bytes body = in.take(std::min<std::uint64_t>(length, in.remaining()));
        if (type == kIhdr && body.size() >= 13) {
            ByteReader fields(body);
            header.width = fields.u32be();
            header.height = fields.u32be();
            const std::uint8_t depth = fields.u8();
            header.bitsPerPixel = depth * samplesPerPixel(fields.u8());
            fields.skip(2);
            header.interlaced = fields.u8() != 0;
        } else if (type == kIdat) {
            data.insert(data.end(), body.begin(), body.end());
        }
        in.skip(std::min<std::uint64_t>(4, in.remaining())); // the CRC
    }
    return data;
}

// How many bytes the compressed data unpacks to, up to `limit`.
std::uint64_t unpackedSize(const std::vector<std::uint8_t>& compressed, std::uint64_t limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return 0;
    }
    std::array<std::uint8_t, 64 * 1024> scratch{};
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::uint64_t total = 0;
    int result = Z_OK;
    while (result == Z_OK && total < limit) {
        stream.next_out = scratch.data();
        stream.avail_out = static_cast<uInt>(scratch.size());
        result = inflate(&stream, Z_SYNC_FLUSH);
        const std::uint64_t produced = scratch.size() - stream.avail_out;
        total += produced;
        if (produced == 0) {
            break;
        }
    }
    inflateEnd(&stream);
    return total;
}

// The sizes of the pictures the data holds one after the other: for an interlaced picture
// the seven reduced ones of its passes, otherwise the whole picture.
std::vector<std::uint64_t> passSizes(const Header& header) {
    if (!header.interlaced) {
        return {header.height * rowBytes(header, header.width)};
    }
    constexpr std::array<std::uint64_t, 7> kStartX = {0, 4, 0, 2, 0, 1, 0};
    constexpr std::array<std::uint64_t, 7> kStartY = {0, 0, 4, 0, 2, 0, 1};
    constexpr std::array<std::uint64_t, 7> kStepX = {8, 8, 4, 4, 2, 2, 1};
    constexpr std::array<std::uint64_t, 7> kStepY = {8, 8, 8, 4, 4, 2, 2};
    std::vector<std::uint64_t> sizes;
    for (std::size_t pass = 0; pass < kStartX.size(); ++pass) {
        const std::uint64_t width =
            (header.width + kStepX[pass] - 1 - kStartX[pass]) / kStepX[pass];
        const std::uint64_t height =
            (header.height + kStepY[pass] - 1 - kStartY[pass]) / kStepY[pass];
        sizes.push_back(width == 0 ? 0 : height * rowBytes(header, width));
    }
    return sizes;
}

std::string extentText(const Header& header, const std::vector<std::uint64_t>& passes,
                       std::uint64_t unpacked) {
    if (!header.interlaced) {
        return " (the picture data ends after " +
               std::to_string(unpacked / rowBytes(header, header.width)) + " of its " +
               std::to_string(header.height) + " rows)";
    }
    std::size_t pass = 0;
    while (pass + 1 < passes.size() && unpacked >= passes[pass]) {
        unpacked -= passes[pass++];
    }
    return " (the picture data ends in interlace pass " + std::to_string(pass + 1) + " of " +
           std::to_string(passes.size()) + ")";
}

} // namespace

std::string pngDataExtent(Bytes file) {
    // Far beyond what the readers accept, and small enough that no size below overflows.
    constexpr std::uint64_t kLargestSide = std::uint64_t{1} << 24;
    if (file.size() < kSignatureSize) {
        return "";
    }
    ByteReader in(file, kSignatureSize);
    Header header;
    const std::vector<std::uint8_t> compressed = storedData(in, header);
    if (header.width == 0 || header.height == 0 || header.width > kLargestSide ||
        header.height > kLargestSide || compressed.size() > UINT32_MAX) {
        return "";
    }
    const std::vector<std::uint64_t> passes = passSizes(header);
    std::uint64_t whole = 0;
    for (const std::uint64_t size : passes) {
        whole += size;
    }
    const std::uint64_t unpacked = unpackedSize(compressed, whole);
    return unpacked < whole ? extentText(header, passes, unpacked) : "";
}

} // namespace vellumar
