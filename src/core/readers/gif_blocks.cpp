#include "gif_blocks.h"

#include <cstring>

#include "readers/byte_reader.h"

namespace vellumar {

namespace {

namespace gif {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageBlock = 0x2C;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::uint8_t kApplication = 0xFF;
constexpr std::size_t kSignatureAndScreen = 13;    // "GIF89a", the logical screen descriptor
constexpr std::size_t kImageDescriptorRest = 9;    // after the 0x2C: position, size, flags
constexpr std::uint8_t kColourTableFollows = 0x80; // in the screen's and a block's flags
constexpr std::uint8_t kInterlaced = 0x40;         // in a block's flags
constexpr std::uint8_t kHasTransparency = 0x01;    // in a graphic control block's flags

} // namespace gif

std::size_t colourTableBytes(std::uint8_t flags) {
    return (flags & gif::kColourTableFollows) != 0 ? std::size_t{3} << ((flags & 7) + 1) : 0;
}

// Moves past a chain of data sub-blocks and its empty terminator; false when the data ends
// first.
bool skipSubBlocks(ByteReader& in) {
    while (in.has(1)) {
        const std::uint8_t length = in.u8();
        if (length == 0) {
            return true;
        }
        if (!in.has(length)) {
            return false;
        }
        in.skip(length);
    }
    return false;
}

// What a graphic control block says about the image block after it; the cursor is on its
// first sub-block: size 4, the flags, the delay in hundredths of a second, the transparent
// index.
struct Control {
    int transparent = -1;
    int disposal = 0;
    bool delayed = false;
};

Control graphicControlAt(const ByteReader& in) {
    if (!in.has(5) || in.slice(in.position(), 1)[0] != 4) {
        return {};
    }
    const Bytes control = in.slice(in.position() + 1, 4);
    return {(control[0] & gif::kHasTransparency) != 0 ? control[3] : -1, (control[0] >> 2) & 7,
            (control[1] | control[2] << 8) != 0};
}

// Whether the application block at the cursor (on its first sub-block) is one that makes
// browsers play the blocks as a looping animation.
bool isLoopBlockAt(const ByteReader& in) {
    constexpr std::size_t kIdentifier = 11;
    if (!in.has(1 + kIdentifier) || in.slice(in.position(), 1)[0] != kIdentifier) {
        return false;
    }
    const Bytes identifier = in.slice(in.position() + 1, kIdentifier);
    return std::memcmp(identifier.data(), "NETSCAPE2.0", kIdentifier) == 0 ||
           std::memcmp(identifier.data(), "ANIMEXTS1.0", kIdentifier) == 0;
}

// Reads an image block from after its 0x2C; false when the file ends inside it.
bool readImageBlock(ByteReader& in, Bytes bytes, GifImageBlock& block) {
    if (!in.has(gif::kImageDescriptorRest)) {
        return false;
    }
    block.left = in.u16le();
    block.top = in.u16le();
    block.width = in.u16le();
    block.height = in.u16le();
    const std::uint8_t flags = in.u8();
    block.interlaced = (flags & gif::kInterlaced) != 0;
    if (!in.has(colourTableBytes(flags) + 1)) {
        return false;
    }
    block.colours = in.take(colourTableBytes(flags));
    block.minimumCodeSize = in.u8();
    const std::size_t start = in.position();
    const bool whole = skipSubBlocks(in);
    block.data = bytes.subspan(start, in.position() - start);
    return whole;
}

} // namespace

std::size_t GifBlocks::firstFrameBlocks() const {
    if (blocks.empty()) {
        return 0;
    }
    if (!gif89a || loops) {
        return 1;
    }
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].delayed) {
            return i + 1;
        }
    }
    return blocks.size();
}

GifBlocks readGifBlocks(Bytes bytes) {
    ByteReader in(bytes);
    const Bytes screen = in.take(gif::kSignatureAndScreen);
    GifBlocks gif;
    gif.gif89a = std::memcmp(screen.data() + 3, "89a", 3) == 0;
    gif.width = screen[6] | screen[7] << 8;
    gif.height = screen[8] | screen[9] << 8;
    gif.globalColours = in.take(colourTableBytes(screen[10]));

    Control control;
    while (in.has(1)) {
        const std::uint8_t record = in.u8();
        if (record == gif::kExtension && in.has(1)) {
            const std::uint8_t label = in.u8();
            if (label == gif::kGraphicControl) {
                control = graphicControlAt(in);
            } else if (label == gif::kApplication) {
                gif.loops = gif.loops || isLoopBlockAt(in);
            }
            if (!skipSubBlocks(in)) {
                break;
            }
        } else if (record == gif::kImageBlock) {
            GifImageBlock& block = gif.blocks.emplace_back();
            block.transparent = control.transparent;
            block.disposal = control.disposal;
            block.delayed = control.delayed;
            control = {};
            block.complete = readImageBlock(in, bytes, block);
            if (!block.complete) {
                break;
            }
        } else {
            break; // the trailer, or something no decoder would read on from
        }
    }
    return gif;
}

} // namespace vellumar
