#include "gif_reader.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <vector>

#include "project_error.h"
#include "readers/gif_first_frame.h"

namespace vellumar {

namespace {

// What shows through transparent pixels and the screen's background on a white page.
constexpr Rgb kPageWhite{255, 255, 255};

struct MemoryInput {
    Bytes bytes;
    std::size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
    const std::size_t taken = std::min(wanted, input->bytes.size() - input->position);
    std::memcpy(buffer, input->bytes.data() + input->position, taken);
    input->position += taken;
    return static_cast<int>(taken);
}

[[noreturn]] void failWith(int errorCode) {
    const char* text = GifErrorString(errorCode);
    throw ProjectError(std::string("the GIF data cannot be decoded: ") +
                       (text ? text : "unknown error"));
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Opening reads the signature, the logical screen and the global colour table.
GifFile openGif(MemoryInput& input) {
    int error = 0;
    GifFile gif(DGifOpen(&input, readFromMemory, &error));
    if (!gif) {
        failWith(error);
    }
    return gif;
}

void check(GifFileType* gif, int result) {
    if (result == GIF_ERROR) {
        failWith(gif->Error);
    }
}

// What a graphic control block says about the image block that follows it.
struct BlockControl {
    int transparent = NO_TRANSPARENT_COLOR;
    int disposal = DISPOSAL_UNSPECIFIED;
};

// Reads the records up to the next image block's descriptor and returns what the graphic
// control block in front of it says.
BlockControl readToNextBlock(GifFileType* gif) {
    BlockControl control;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        check(gif, DGifGetRecordType(gif, &type));
        if (type == IMAGE_DESC_RECORD_TYPE) {
            check(gif, DGifGetImageDesc(gif));
            return control;
        }
        if (type == TERMINATE_RECORD_TYPE) {
            throw ProjectError("the GIF file holds no picture");
        }
        if (type != EXTENSION_RECORD_TYPE) {
            continue;
        }
        int code = 0;
        GifByteType* block = nullptr;
        check(gif, DGifGetExtension(gif, &code, &block));
        if (code == GRAPHICS_EXT_FUNC_CODE && block) {
            GraphicsControlBlock gcb{};
            if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                control = {gcb.TransparentColor, gcb.DisposalMode};
            }
        }
        while (block) {
            check(gif, DGifGetExtensionNext(gif, &block));
        }
    }
}

// Interlaced blocks store every 8th row from 0, every 8th from 4, every 4th from 2, then
// every 2nd from 1.
std::vector<int> blockRowOrder(const GifImageDesc& block) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(block.Height));
    if (!block.Interlace) {
        for (int y = 0; y < block.Height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < block.Height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

std::vector<Rgb> paletteOf(const GifFileType& gif) {
    const ColorMapObject* map = gif.Image.ColorMap ? gif.Image.ColorMap : gif.SColorMap;
    if (!map) {
        throw ProjectError("the GIF picture has no colour table");
    }
    std::vector<Rgb> palette;
    for (int i = 0; i < map->ColorCount; ++i) {
        palette.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    return palette;
}

bool blockFillsScreen(const GifFileType& gif) {
    const GifImageDesc& block = gif.Image;
    return block.Left == 0 && block.Top == 0 && block.Width == gif.SWidth &&
           block.Height == gif.SHeight;
}

// Moves past the pixel data of the current block without decoding it.
void skipBlockData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* data = nullptr;
    check(gif, DGifGetCode(gif, &codeSize, &data));
    while (data) {
        check(gif, DGifGetCodeNext(gif, &data));
    }
}

// Draws the current block onto the screen at its position, leaving transparent pixels and
// pixels past the screen's edges alone. Indexes past the colour table are black.
void drawBlock(GifFileType* gif, int transparent, Bitmap& screen) {
    const GifImageDesc& block = gif->Image;
    const std::vector<Rgb> palette = paletteOf(*gif);
    std::vector<GifPixelType> line(static_cast<std::size_t>(block.Width));
    for (int blockY : blockRowOrder(block)) {
        check(gif, DGifGetLine(gif, line.data(), block.Width));
        const int y = block.Top + blockY;
        if (y >= screen.height()) {
            continue;
        }
        const int visibleWidth = std::min(block.Width, screen.width() - block.Left);
        for (int blockX = 0; blockX < visibleWidth; ++blockX) {
            const int index = line[static_cast<std::size_t>(blockX)];
            if (index != transparent) {
                const auto entry = static_cast<std::size_t>(index);
                screen.setPixel(block.Left + blockX, y,
                                entry < palette.size() ? palette[entry] : Rgb{});
            }
        }
    }
}

// The current block's area back to the screen's background, which browsers show
// transparent.
void clearBlockArea(const GifImageDesc& block, Bitmap& screen) {
    const int right = std::min(block.Left + block.Width, screen.width());
    const int bottom = std::min(block.Top + block.Height, screen.height());
    for (int y = block.Top; y < bottom; ++y) {
        for (int x = block.Left; x < right; ++x) {
            screen.setPixel(x, y, kPageWhite);
        }
    }
}

// Puts the current block on the screen as the next block of the same frame finds it. A
// block that asks to be undone before the next one ('restore to previous') leaves nothing,
// one that asks for its area to be cleared leaves that area white: neither is decoded, so
// undoing needs no copy of what lay beneath.
void showBlock(GifFileType* gif, const BlockControl& control, bool lastOfFrame, Bitmap& screen) {
    const GifImageDesc& block = gif->Image;
    const bool disposed = !lastOfFrame && (control.disposal == DISPOSE_PREVIOUS ||
                                           control.disposal == DISPOSE_BACKGROUND);
    if (block.Width == 0 || block.Height == 0 || disposed) {
        skipBlockData(gif);
        if (!lastOfFrame && control.disposal == DISPOSE_BACKGROUND) {
            clearBlockArea(block, screen);
        }
        return;
    }
    drawBlock(gif, control.transparent, screen);
}

Bitmap readPaletteBlock(GifFileType* gif, const PictureSize& screen) {
    Bitmap bitmap = Bitmap::withPalette(screen.width, screen.height, paletteOf(*gif));
    for (int y : blockRowOrder(gif->Image)) {
        check(gif, DGifGetLine(gif, bitmap.row(y), screen.width));
    }
    return bitmap;
}

} // namespace

bool GifReader::sniff(Bytes bytes) const {
    return bytes.size() >= 6 && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 ||
                                 std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

PictureSize GifReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a GIF file");
    }
    MemoryInput input{source.bytes};
    const GifFile gif = openGif(input);
    return checkPictureSize(gif->SWidth, gif->SHeight);
}

Bitmap GifReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a GIF file");
    }
    MemoryInput input{source.bytes};
    const GifFile gif = openGif(input);
    const PictureSize screen = checkPictureSize(gif->SWidth, gif->SHeight);
    const int blocks = std::max(1, imageBlocksOfFirstFrame(source.bytes));
    BlockControl control = readToNextBlock(gif.get());
    if (blocks == 1 && blockFillsScreen(*gif) && control.transparent == NO_TRANSPARENT_COLOR) {
        return readPaletteBlock(gif.get(), screen);
    }
    Bitmap picture = Bitmap::uninitialized(screen.width, screen.height);
    picture.fill(kPageWhite);
    for (int block = 1;; ++block) {
        showBlock(gif.get(), control, block == blocks, picture);
        if (block == blocks) {
            return picture;
        }
        control = readToNextBlock(gif.get());
    }
}

} // namespace vellumar
