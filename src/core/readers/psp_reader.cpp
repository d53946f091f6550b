#include "psp_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/inflate_exact.h"

namespace vellumar {

namespace psp {

// "Paint Shop Pro Image File\n\x1a" and five zero bytes.
constexpr char kSignature[] = "Paint Shop Pro Image File\n\x1a\0\0\0\0";
constexpr std::size_t kSignatureSize = 32;
constexpr std::uint8_t kBlockMarker[] = {'~', 'B', 'K', 0};
// From this major version on every chunk starts with its own size.
constexpr std::uint16_t kSizedChunksVersion = 4;

// File header, after the signature.
struct FileHeader {
    std::uint16_t majorVersion = 0; // 3 for program version 5, 4 and later for later ones
    std::uint16_t minorVersion = 0; // not needed for reading
};

enum BlockId : std::uint16_t {
    kImageAttributes = 0, // General Image Attributes: size, depth, compression
    kColourPalette = 2,   // palette of pictures of up to 8 bits
    kLayerStart = 3,      // holds the layer blocks, bottom layer first
    kLayer = 4,           // one layer: its information chunk, then its channel blocks
    kChannel = 5,         // one channel of a layer or composite
    kCompositeBank = 16,  // composite pictures the program keeps for quick viewing
    kCompositeAttributes = 17,
    kJpeg = 18,
};

enum Compression : std::uint16_t { kNone = 0, kRle = 1, kLz77 = 2, kJpegCompression = 3 };

// A block: "~BK\0", the id, then (version 3) the initial chunk's length and the block's
// length, or (version 4 and later) the block's length alone; the block's data follows.
struct Block {
    std::uint16_t id = 0;            // BlockId
    std::uint32_t initialLength = 0; // version 3: length of the first chunk of the data
    Bytes data;                      // everything after the block header
};

// General Image Attributes chunk.
struct ImageAttributes {
    std::int32_t width = 0;        // canvas width in pixels
    std::int32_t height = 0;       // canvas height in pixels
                                   // double resolution and byte metric follow (unused)
    std::uint16_t compression = 0; // Compression of every channel in the file
    std::uint16_t bitDepth = 0;    // 1, 4, 8 (palette) or 24
    std::uint16_t planeCount = 0;  // always 1
    std::uint32_t colourCount = 0; // palette entries in use (2^bitDepth up to 8 bits)
    std::uint8_t greyscale = 0;    // nonzero: an 8-bit greyscale picture
};

// Layer information chunk, as far as drawing needs it.
struct LayerInfo {
    std::int32_t imageLeft = 0, imageTop = 0;     // layer rectangle on the canvas
    std::int32_t imageRight = 0, imageBottom = 0; // (right and bottom exclusive)
    std::int32_t savedLeft = 0, savedTop = 0;     // stored pixels, relative to the layer
    std::int32_t savedRight = 0, savedBottom = 0; // rectangle (right and bottom exclusive)
    std::uint8_t opacity = 255;                   // 0 transparent .. 255 opaque
    std::uint8_t blendMode = 0;                   // 0 normal (all others drawn as normal)
    std::uint8_t flags = 1;                       // bit 0: visible
};

// Channel information chunk.
struct ChannelInfo {
    std::uint32_t compressedLength = 0;   // bytes of channel data after the chunk
    std::uint32_t uncompressedLength = 0; // bytes once unpacked (checked, not trusted)
    std::uint16_t bitmapType = 0;         // 0 image, 1 transparency mask, others skipped
    std::uint16_t channelType = 0;        // 0 palette index, 1 red, 2 green, 3 blue
};

// Composite image attributes chunk.
struct CompositeAttributes {
    std::int32_t width = 0;        // composite width in pixels
    std::int32_t height = 0;       // composite height in pixels
    std::uint16_t bitDepth = 0;    // as in the General Image Attributes
    std::uint16_t compression = 0; // Compression of the composite's channels
    std::uint16_t planeCount = 0;  // always 1
    std::uint32_t colourCount = 0; // palette entries
    std::uint16_t type = 0;        // 0 the full composite, 1 a thumbnail
};

} // namespace psp

namespace {

[[noreturn]] void damaged(const std::string& what) {
    throw ProjectError("the Paint Shop Pro file is damaged: " + what);
}

struct ChunkAndRest {
    Bytes chunk; // the information chunk, without its size field
    Bytes rest;  // sub-blocks or pixel data
};

// Reads blocks and their chunks, which differ between file versions 3 and 4: from version 4
// on a chunk starts with its own size, before that the block header gives the first
// chunk's length.
class BlockParser {
public:
    explicit BlockParser(std::uint16_t majorVersion) : m_major(majorVersion) {}

    bool sizedChunks() const { return m_major >= psp::kSizedChunksVersion; }

    // Every block in the data, which must consist of whole blocks.
    std::vector<psp::Block> blocks(Bytes data) const {
        std::vector<psp::Block> found;
        ByteReader cursor(data);
        while (!cursor.atEnd()) {
            found.push_back(next(cursor));
        }
        return found;
    }

    // A block's first (information) chunk, without a size field, and what follows it.
    ChunkAndRest split(const psp::Block& block) const {
        if (sizedChunks()) {
            return splitSizedChunk(block.data);
        }
        if (block.initialLength > block.data.size()) {
            damaged("a block is shorter than its first chunk");
        }
        return {block.data.first(block.initialLength), block.data.subspan(block.initialLength)};
    }

    // Splits off a chunk that starts with its own size (the size field included).
    static ChunkAndRest splitSizedChunk(Bytes data) {
        ByteReader cursor(data);
        const std::uint32_t size = cursor.u32le();
        if (size < 4 || size > data.size()) {
            damaged("a chunk size is out of range");
        }
        return {data.subspan(4, size - 4), data.subspan(size)};
    }

    // The contents of a block that has no chunk of its own (the layer start block).
    Bytes withoutChunk(const psp::Block& block) const {
        return sizedChunks() ? block.data : split(block).rest;
    }

private:
    psp::Block next(ByteReader& cursor) const {
        if (cursor.remaining() < 4 ||
            std::memcmp(cursor.take(4).data(), psp::kBlockMarker, sizeof psp::kBlockMarker) != 0) {
            damaged("a block marker is missing");
        }
        psp::Block block;
        block.id = cursor.u16le();
        if (!sizedChunks()) {
            block.initialLength = cursor.u32le();
        }
        block.data = cursor.take(cursor.u32le());
        return block;
    }

    std::uint16_t m_major;
};

psp::FileHeader readFileHeader(Bytes bytes) {
    if (bytes.size() < psp::kSignatureSize ||
        std::memcmp(bytes.data(), psp::kSignature, psp::kSignatureSize) != 0) {
        throw ProjectError("the file is not a Paint Shop Pro picture (signature missing)");
    }
    ByteReader cursor(bytes, psp::kSignatureSize);
    psp::FileHeader header;
    header.majorVersion = cursor.u16le();
    header.minorVersion = cursor.u16le();
    if (header.majorVersion < 3) {
        throw ProjectError("Paint Shop Pro files of version " +
                           std::to_string(header.majorVersion) + " cannot be read");
    }
    return header;
}

psp::ImageAttributes readImageAttributes(Bytes chunk) {
    ByteReader cursor(chunk);
    psp::ImageAttributes attributes;
    attributes.width = cursor.i32le();
    attributes.height = cursor.i32le();
    cursor.skip(8 + 1); // resolution and its metric
    attributes.compression = cursor.u16le();
    attributes.bitDepth = cursor.u16le();
    attributes.planeCount = cursor.u16le();
    attributes.colourCount = cursor.u32le();
    attributes.greyscale = cursor.u8();
    return attributes;
}

psp::CompositeAttributes readCompositeAttributes(Bytes chunk) {
    ByteReader cursor(chunk);
    psp::CompositeAttributes attributes;
    attributes.width = cursor.i32le();
    attributes.height = cursor.i32le();
    attributes.bitDepth = cursor.u16le();
    attributes.compression = cursor.u16le();
    attributes.planeCount = cursor.u16le();
    attributes.colourCount = cursor.u32le();
    attributes.type = cursor.u16le();
    return attributes;
}

void readRectangle(ByteReader& cursor, std::int32_t& left, std::int32_t& top, std::int32_t& right,
                   std::int32_t& bottom) {
    left = cursor.i32le();
    top = cursor.i32le();
    right = cursor.i32le();
    bottom = cursor.i32le();
}

psp::LayerInfo readLayerInfo(Bytes chunk, bool sizedChunks) {
    ByteReader cursor(chunk);
    if (sizedChunks) {
        cursor.skip(cursor.u16le()); // the name, preceded by its length
    } else {
        cursor.skip(256); // the name in a fixed field
    }
    cursor.skip(1); // layer type
    psp::LayerInfo info;
    readRectangle(cursor, info.imageLeft, info.imageTop, info.imageRight, info.imageBottom);
    readRectangle(cursor, info.savedLeft, info.savedTop, info.savedRight, info.savedBottom);
    info.opacity = cursor.u8();
    info.blendMode = cursor.u8();
    info.flags = cursor.u8();
    return info;
}

int checkBitDepth(std::uint16_t bitDepth) {
    if (bitDepth != 1 && bitDepth != 4 && bitDepth != 8 && bitDepth != 24) {
        throw ProjectError("Paint Shop Pro pictures of " + std::to_string(bitDepth) +
                           " bits a pixel cannot be read");
    }
    return bitDepth;
}

std::vector<Rgb> readPalette(const BlockParser& parser, const psp::Block& block) {
    const ChunkAndRest parts = parser.split(block);
    ByteReader count(parts.chunk);
    const std::uint32_t entries = count.u32le();
    // The entries follow the count, inside the first chunk or after it.
    ByteReader cursor(parts.chunk.size() > 4 ? parts.chunk.subspan(4) : parts.rest);
    if (entries > 256 || cursor.remaining() / 4 < entries) {
        damaged("the palette is too short or too long");
    }
    std::vector<Rgb> palette(entries);
    for (Rgb& colour : palette) {
        colour.b = cursor.u8();
        colour.g = cursor.u8();
        colour.r = cursor.u8();
        cursor.skip(1);
    }
    return palette;
}

// Greyscale pictures may come without a palette: their indices are grey levels.
std::vector<Rgb> paletteOrGrey(const std::vector<Rgb>& stored) {
    if (!stored.empty()) {
        return stored;
    }
    std::vector<Rgb> palette(256);
    for (int i = 0; i < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(i);
        palette[static_cast<std::size_t>(i)] = {level, level, level};
    }
    return palette;
}

// Paint Shop Pro's run-length code: a count above 128 repeats the next byte count - 128
// times, a count up to 128 is followed by that many literal bytes.
std::vector<std::uint8_t> unpackRle(Bytes packed, std::size_t size) {
    std::vector<std::uint8_t> out;
    out.reserve(size);
    ByteReader cursor(packed);
    while (out.size() < size) {
        if (cursor.atEnd()) {
            damaged("run-length channel data ends early");
        }
        const std::uint8_t count = cursor.u8();
        if (count > 128) {
            out.insert(out.end(), count - 128u, cursor.u8());
        } else {
            const Bytes literal = cursor.take(count);
            out.insert(out.end(), literal.begin(), literal.end());
        }
        if (out.size() > size) {
            damaged("a run reaches past the end of its channel");
        }
    }
    return out;
}

// One channel's samples, rows padded to four bytes.
struct Plane {
    int width = 0;
    int height = 0;
    int bits = 8;
    std::size_t stride = 0;
    std::vector<std::uint8_t> data;

    int sample(int x, int y) const {
        const std::uint8_t* row = data.data() + static_cast<std::size_t>(y) * stride;
        if (bits == 8) {
            return row[x];
        }
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        return (row[x / perByte] >> shift) & ((1 << bits) - 1);
    }
};

Plane unpackPlane(Bytes packed, std::uint16_t compression, int width, int height, int bits) {
    Plane plane{width, height, bits, 0, {}};
    plane.stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    const std::size_t size = plane.stride * static_cast<std::size_t>(height);
    switch (compression) {
    case psp::kNone:
        if (packed.size() < size) {
            damaged("channel data is shorter than its picture");
        }
        plane.data.assign(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
        break;
    case psp::kRle:
        // Two bytes give at most 127 samples: refuse sizes the data cannot hold before
        // allocating for them.
        if (size / 127 > packed.size()) {
            damaged("run-length channel data is too short for its picture");
        }
        plane.data = unpackRle(packed, size);
        break;
    case psp::kLz77:
        if (size / 1032 > packed.size()) { // deflate's greatest expansion
            damaged("compressed channel data is too short for its picture");
        }
        plane.data = inflateExactly(packed, size);
        break;
    case psp::kJpegCompression:
        throw ProjectError("JPEG-compressed Paint Shop Pro pictures cannot be read");
    default:
        damaged("unknown compression " + std::to_string(compression));
    }
    return plane;
}

// The channels of a layer or composite picture.
struct Channels {
    std::optional<Plane> index, red, green, blue, mask;

    bool empty() const { return !index && !red && !green && !blue; }
};

void addChannel(const BlockParser& parser, const psp::Block& block, std::uint16_t compression,
                int width, int height, int indexBits, Channels& channels) {
    const ChunkAndRest parts = parser.split(block);
    ByteReader cursor(parts.chunk);
    psp::ChannelInfo info;
    info.compressedLength = cursor.u32le();
    info.uncompressedLength = cursor.u32le();
    info.bitmapType = cursor.u16le();
    info.channelType = cursor.u16le();
    Bytes data = parts.rest;
    if (info.compressedLength > data.size()) {
        damaged("channel data is shorter than its stated length");
    }
    data = data.first(info.compressedLength);
    std::optional<Plane>* target = nullptr;
    if (info.bitmapType == 1) {
        target = &channels.mask;
    } else if (info.bitmapType == 0) {
        std::optional<Plane>* byType[] = {&channels.index, &channels.red, &channels.green,
                                          &channels.blue};
        if (info.channelType > 3) {
            damaged("unknown channel type " + std::to_string(info.channelType));
        }
        target = byType[info.channelType];
    }
    if (target == &channels.index && indexBits > 8) {
        return; // palette indices in a picture without a palette
    }
    if (target != nullptr) {
        const int bits = target == &channels.index ? indexBits : 8;
        *target = unpackPlane(data, compression, width, height, bits);
    }
}

Rgb colourAt(const Channels& channels, const std::vector<Rgb>& palette, int x, int y) {
    if (channels.index) {
        const auto entry = static_cast<std::size_t>(channels.index->sample(x, y));
        return entry < palette.size() ? palette[entry] : Rgb{};
    }
    const auto level = [&](const std::optional<Plane>& plane) {
        return plane ? static_cast<std::uint8_t>(plane->sample(x, y)) : std::uint8_t{0};
    };
    return {level(channels.red), level(channels.green), level(channels.blue)};
}

struct Document {
    psp::ImageAttributes attributes;
    std::vector<Rgb> palette;
    std::optional<Bitmap> composite;
    Bytes layers; // the layer start block's contents
    bool hasLayers = false;
};

std::optional<Bitmap> readComposite(const BlockParser& parser, const psp::Block& bank) {
    std::vector<psp::Block> blocks;
    for (const psp::Block& block : parser.blocks(parser.split(bank).rest)) {
        blocks.push_back(block);
        if (block.id == psp::kCompositeAttributes) {
            // Palette and channels may sit inside the attributes block or follow it.
            for (const psp::Block& inner : parser.blocks(parser.split(block).rest)) {
                blocks.push_back(inner);
            }
        }
    }
    std::optional<psp::CompositeAttributes> current;
    std::vector<Rgb> palette;
    Channels channels;
    const auto finish = [&]() -> std::optional<Bitmap> {
        if (!current || current->type != 0 || channels.empty()) {
            return std::nullopt;
        }
        const PictureSize size = checkPictureSize(current->width, current->height);
        if (current->bitDepth <= 8) {
            Bitmap picture = Bitmap::withPalette(size.width, size.height, paletteOrGrey(palette));
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    picture.row(y)[x] = static_cast<std::uint8_t>(
                        channels.index ? channels.index->sample(x, y) : 0);
                }
            }
            return picture;
        }
        Bitmap picture(size.width, size.height);
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                picture.setPixel(x, y, colourAt(channels, palette, x, y));
            }
        }
        return picture;
    };
    for (const psp::Block& block : blocks) {
        if (block.id == psp::kCompositeAttributes) {
            if (auto picture = finish()) {
                return picture;
            }
            current = readCompositeAttributes(parser.split(block).chunk);
            checkBitDepth(current->bitDepth);
            checkPictureSize(current->width, current->height);
            palette.clear();
            channels = {};
        } else if (current && block.id == psp::kColourPalette) {
            palette = readPalette(parser, block);
        } else if (current && current->type == 0 && block.id == psp::kChannel) {
            addChannel(parser, block, current->compression, current->width, current->height,
                       current->bitDepth, channels);
        }
    }
    return finish();
}

Document readDocument(Bytes bytes, bool attributesOnly) {
    const psp::FileHeader header = readFileHeader(bytes);
    const BlockParser parser(header.majorVersion);
    ByteReader cursor(bytes, psp::kSignatureSize + 4);
    Document document;
    bool haveAttributes = false;
    for (const psp::Block& block : parser.blocks(cursor.rest())) {
        if (block.id == psp::kImageAttributes) {
            document.attributes = readImageAttributes(parser.split(block).chunk);
            checkPictureSize(document.attributes.width, document.attributes.height);
            checkBitDepth(document.attributes.bitDepth);
            haveAttributes = true;
            if (attributesOnly) {
                return document;
            }
        } else if (block.id == psp::kColourPalette) {
            document.palette = readPalette(parser, block);
        } else if (block.id == psp::kCompositeBank && !document.composite) {
            document.composite = readComposite(parser, block);
        } else if (block.id == psp::kLayerStart) {
            document.layers = parser.withoutChunk(block);
            document.hasLayers = true;
        }
    }
    if (!haveAttributes) {
        damaged("the General Image Attributes block is missing");
    }
    return document;
}

void drawLayer(const BlockParser& parser, const psp::Block& block, const Document& document,
               Bitmap& canvas) {
    const ChunkAndRest parts = parser.split(block);
    const psp::LayerInfo info = readLayerInfo(parts.chunk, parser.sizedChunks());
    // From version 4 on a second chunk (bitmap and channel counts) precedes the channels.
    const Bytes channelBlocks =
        parser.sizedChunks() ? BlockParser::splitSizedChunk(parts.rest).rest : parts.rest;
    if ((info.flags & 1) == 0 || info.opacity == 0) {
        return;
    }
    const std::int64_t width = std::int64_t{info.savedRight} - info.savedLeft;
    const std::int64_t height = std::int64_t{info.savedBottom} - info.savedTop;
    if (width <= 0 || height <= 0) {
        return; // a layer without pixels (vector and adjustment layers)
    }
    const PictureSize size = checkPictureSize(width, height);
    Channels channels;
    for (const psp::Block& channel : parser.blocks(channelBlocks)) {
        if (channel.id == psp::kChannel) {
            addChannel(parser, channel, document.attributes.compression, size.width, size.height,
                       document.attributes.bitDepth, channels);
        }
    }
    if (channels.empty()) {
        return;
    }
    const std::int64_t originX = std::int64_t{info.imageLeft} + info.savedLeft;
    const std::int64_t originY = std::int64_t{info.imageTop} + info.savedTop;
    const std::vector<Rgb> palette = paletteOrGrey(document.palette);
    for (int y = 0; y < size.height; ++y) {
        const std::int64_t canvasY = originY + y;
        if (canvasY < 0 || canvasY >= canvas.height()) {
            continue;
        }
        for (int x = 0; x < size.width; ++x) {
            const std::int64_t canvasX = originX + x;
            if (canvasX < 0 || canvasX >= canvas.width()) {
                continue;
            }
            const int coverage = channels.mask ? channels.mask->sample(x, y) : 255;
            const int alpha = coverage * info.opacity / 255;
            const Rgb top = colourAt(channels, palette, x, y);
            const Rgb below = canvas.pixel(static_cast<int>(canvasX), static_cast<int>(canvasY));
            const auto blend = [alpha](int over, int under) {
                return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) /
                                                 255);
            };
            canvas.setPixel(static_cast<int>(canvasX), static_cast<int>(canvasY),
                            {blend(top.r, below.r), blend(top.g, below.g), blend(top.b, below.b)});
        }
    }
}

} // namespace

bool PspReader::sniff(Bytes bytes) const {
    return bytes.size() >= psp::kSignatureSize &&
           std::memcmp(bytes.data(), psp::kSignature, psp::kSignatureSize) == 0;
}

PictureSize PspReader::probe(const PictureSource& source) const {
    const Document document = readDocument(source.bytes, true);
    return checkPictureSize(document.attributes.width, document.attributes.height);
}

Bitmap PspReader::decode(const PictureSource& source) const {
    Document document = readDocument(source.bytes, false);
    const PictureSize size =
        checkPictureSize(document.attributes.width, document.attributes.height);
    if (document.composite) {
        if (document.composite->width() != size.width ||
            document.composite->height() != size.height) {
            damaged("the composite picture's size differs from the picture's");
        }
        return std::move(*document.composite);
    }
    if (!document.hasLayers) {
        throw ProjectError("the Paint Shop Pro file holds neither a composite picture nor layers");
    }
    const BlockParser parser(readFileHeader(source.bytes).majorVersion);
    Bitmap canvas(size.width, size.height);
    canvas.fill({255, 255, 255});
    for (const psp::Block& block : parser.blocks(document.layers)) {
        if (block.id == psp::kLayer) {
            drawLayer(parser, block, document, canvas);
        }
    }
    return canvas;
}

} // namespace vellumar
