#include "gif_first_frame.h"

#include "readers/byte_reader.h"

namespace vellumar {

namespace {

namespace gif {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImageBlock = 0x2C;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::size_t kSignatureAndScreen = 13;    // "GIF89a", the logical screen descriptor
constexpr std::size_t kScreenFlagsAt = 10;         // within those 13 bytes
constexpr std::size_t kImageDescriptorRest = 9;    // after the 0x2C: position, size, flags
constexpr std::uint8_t kColourTableFollows = 0x80; // in the screen's and a block's flags

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

// Whether the graphic control extension at the cursor (after its label) asks for a delay:
// its first sub-block holds the flags and then the delay in hundredths of a second.
bool asksForDelay(const ByteReader& in) {
    if (!in.has(4)) {
        return false;
    }
    const Bytes control = in.slice(in.position(), 4);
    return control[0] == 4 && (control[2] | control[3] << 8) != 0;
}

} // namespace

int imageBlocksOfFirstFrame(Bytes bytes) {
    ByteReader in(bytes);
    if (!in.has(gif::kSignatureAndScreen)) {
        return 0;
    }
    const std::uint8_t screenFlags = bytes[gif::kScreenFlagsAt];
    in.skip(gif::kSignatureAndScreen);
    if (!in.has(colourTableBytes(screenFlags))) {
        return 0;
    }
    in.skip(colourTableBytes(screenFlags));

    int blocks = 0;
    bool delayed = false;
    while (in.has(1)) {
        const std::uint8_t record = in.u8();
        if (record == gif::kExtension && in.has(1)) {
            if (in.u8() == gif::kGraphicControl) {
                delayed = asksForDelay(in);
            }
            if (!skipSubBlocks(in)) {
                break;
            }
        } else if (record == gif::kImageBlock) {
            ++blocks;
            if (delayed || !in.has(gif::kImageDescriptorRest)) {
                break;
            }
            const std::size_t flagsAt = in.position() + gif::kImageDescriptorRest - 1;
            const std::size_t rest = colourTableBytes(bytes[flagsAt]) + 1; // + LZW code size
            in.skip(gif::kImageDescriptorRest);
            if (!in.has(rest)) {
                break;
            }
            in.skip(rest);
            if (!skipSubBlocks(in)) {
                break;
            }
        } else {
            break; // the trailer, or something no decoder would read on from
        }
    }
    return blocks;
}

} // namespace vellumar
