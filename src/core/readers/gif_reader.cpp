#include "gif_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/gif_blocks.h"
#include "readers/gif_lzw.h"

namespace vellumar {

namespace {

// What shows through transparent pixels and the screen's background on a white page.
constexpr Rgb kPageWhite{255, 255, 255};

constexpr int kDisposeToBackground = 2;
constexpr int kDisposeToPrevious = 3;

[[noreturn]] void fail(const std::string& reason) {
    throw ProjectError("the GIF data cannot be decoded: " + reason);
}

std::vector<Rgb> paletteOf(const GifBlocks& gif, const GifImageBlock& block) {
    const Bytes table = block.colours.empty() ? gif.globalColours : block.colours;
    if (table.empty()) {
        throw ProjectError("the GIF picture has no colour table");
    }
    std::vector<Rgb> palette;
    for (std::size_t i = 0; i + 2 < table.size(); i += 3) {
        palette.push_back({table[i], table[i + 1], table[i + 2]});
    }
    return palette;
}

GifLzwDecoder pixelsOf(const GifImageBlock& block) {
    try {
        return GifLzwDecoder(block.minimumCodeSize, block.data);
    } catch (const ProjectError& error) {
        fail(error.what());
    }
}

// Interlaced blocks store every 8th row from 0, every 8th from 4, every 4th from 2, then
// every 2nd from 1.
std::vector<int> blockRowOrder(const GifImageBlock& block) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(block.height));
    if (!block.interlaced) {
        for (int y = 0; y < block.height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < block.height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

bool fillsScreen(const GifBlocks& gif, const GifImageBlock& block) {
    return block.left == 0 && block.top == 0 && block.width == gif.width &&
           block.height == gif.height;
}

// Draws the block onto the screen at its position, leaving transparent pixels and pixels
// past the screen's edges alone. Indexes past the colour table are black. Where the block's
// data ends early, the pixels it does not reach stay as they were.
void drawBlock(const GifBlocks& gif, const GifImageBlock& block, Bitmap& screen) {
    const std::vector<Rgb> palette = paletteOf(gif, block);
    GifLzwDecoder pixels = pixelsOf(block);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(block.width));
    for (int blockY : blockRowOrder(block)) {
        const int y = block.top + blockY;
        if (y >= screen.height() && !block.interlaced) {
            return; // the rest of the block lies below the screen
        }
        const std::size_t decoded = pixels.read(line);
        const int visibleWidth = std::min(static_cast<int>(decoded), screen.width() - block.left);
        for (int blockX = 0; y < screen.height() && blockX < visibleWidth; ++blockX) {
            const int index = line[static_cast<std::size_t>(blockX)];
            if (index != block.transparent) {
                const auto entry = static_cast<std::size_t>(index);
                screen.setPixel(block.left + blockX, y,
                                entry < palette.size() ? palette[entry] : Rgb{});
            }
        }
        if (decoded < line.size()) {
            return;
        }
    }
}

// The block's area back to the screen's background, which browsers show transparent.
void clearBlockArea(const GifImageBlock& block, Bitmap& screen) {
    const int right = std::min(block.left + block.width, screen.width());
    const int bottom = std::min(block.top + block.height, screen.height());
    for (int y = block.top; y < bottom; ++y) {
        for (int x = block.left; x < right; ++x) {
            screen.setPixel(x, y, kPageWhite);
        }
    }
}

// Puts a block on the screen as the next block of the same frame finds it. A block that
// asks to be undone before the next one ('restore to previous') leaves nothing, one that
// asks for its area to be cleared leaves that area white: neither is decoded, so undoing
// needs no copy of what lay beneath.
void showBlock(const GifBlocks& gif, const GifImageBlock& block, bool lastOfFrame, Bitmap& screen) {
    const bool disposed = !lastOfFrame && (block.disposal == kDisposeToPrevious ||
                                           block.disposal == kDisposeToBackground);
    if (block.width == 0 || block.height == 0 || disposed) {
        if (!lastOfFrame && block.disposal == kDisposeToBackground) {
            clearBlockArea(block, screen);
        }
        return;
    }
    drawBlock(gif, block, screen);
}

// One opaque block that fills the screen keeps its palette, unless its data ends early:
// what it does not reach shows the page.
Bitmap readPaletteBlock(const GifBlocks& gif, const GifImageBlock& block) {
    Bitmap bitmap = Bitmap::withPalette(gif.width, gif.height, paletteOf(gif, block));
    GifLzwDecoder pixels = pixelsOf(block);
    const std::vector<int> order = blockRowOrder(block);
    const auto width = static_cast<std::size_t>(block.width);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t decoded = pixels.read({bitmap.row(order[i]), width});
        if (decoded < width) {
            bitmap.convertToRgb24();
            for (std::size_t x = decoded; x < width; ++x) {
                bitmap.setPixel(static_cast<int>(x), order[i], kPageWhite);
            }
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                std::fill_n(bitmap.row(order[j]), width * 3, std::uint8_t{255});
            }
            break;
        }
    }
    return bitmap;
}

void requireSignature(const GifReader& reader, Bytes bytes) {
    if (!reader.sniff(bytes)) {
        throw ProjectError("not a GIF file");
    }
}

} // namespace

bool GifReader::sniff(Bytes bytes) const {
    return bytes.size() >= 6 && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 ||
                                 std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

PictureSize GifReader::probe(const PictureSource& source) const {
    requireSignature(*this, source.bytes);
    // The logical screen's width and height follow the signature.
    ByteReader in(source.bytes, 6);
    const std::uint16_t width = in.u16le();
    return checkPictureSize(width, in.u16le());
}

Bitmap GifReader::decode(const PictureSource& source) const {
    requireSignature(*this, source.bytes);
    const GifBlocks gif = readGifBlocks(source.bytes);
    checkPictureSize(gif.width, gif.height);
    const std::size_t frame = gif.firstFrameBlocks();
    if (frame == 0) {
        throw ProjectError("the GIF file holds no picture");
    }
    for (std::size_t i = 0; i < frame; ++i) {
        if (!gif.blocks[i].complete) {
            fail("the file is truncated (it ends inside image block " + std::to_string(i + 1) +
                 ")");
        }
    }
    const GifImageBlock& first = gif.blocks.front();
    if (frame == 1 && fillsScreen(gif, first) && first.transparent < 0) {
        return readPaletteBlock(gif, first);
    }
    Bitmap picture = Bitmap::uninitialized(gif.width, gif.height);
    picture.fill(kPageWhite);
    for (std::size_t i = 0; i < frame; ++i) {
        showBlock(gif, gif.blocks[i], i + 1 == frame, picture);
    }
    return picture;
}

} // namespace vellumar
