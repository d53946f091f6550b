#include "gif_reader.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>
#include <vector>

#include "project_error.h"

namespace vellumar {

namespace {

constexpr Rgb kWhite{255, 255, 255};

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

// Reads the extensions in front of the first frame and stops at its descriptor; returns the
// transparent colour index its graphic control block names, or -1.
int skipToFirstFrame(GifFileType* gif) {
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        check(gif, DGifGetRecordType(gif, &type));
        if (type == IMAGE_DESC_RECORD_TYPE) {
            check(gif, DGifGetImageDesc(gif));
            return transparent;
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
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                transparent = control.TransparentColor;
            }
        }
        while (block) {
            check(gif, DGifGetExtensionNext(gif, &block));
        }
    }
}

// Interlaced frames store every 8th row from 0, every 8th from 4, every 4th from 2, then
// every 2nd from 1.
std::vector<int> frameRowOrder(const GifImageDesc& frame) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(frame.Height));
    if (!frame.Interlace) {
        for (int y = 0; y < frame.Height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < frame.Height; y += kStep[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

std::vector<Rgb> paletteOf(const ColorMapObject& map) {
    std::vector<Rgb> palette;
    for (int i = 0; i < map.ColorCount; ++i) {
        palette.push_back({map.Colors[i].Red, map.Colors[i].Green, map.Colors[i].Blue});
    }
    return palette;
}

bool frameFillsScreen(const GifFileType& gif) {
    const GifImageDesc& frame = gif.Image;
    return frame.Left == 0 && frame.Top == 0 && frame.Width == gif.SWidth &&
           frame.Height == gif.SHeight;
}

// Draws the frame onto a white screen, leaving transparent pixels and pixels outside the
// screen alone. Indexes past the colour table are black.
Bitmap composeFrame(GifFileType* gif, const PictureSize& screen, const std::vector<Rgb>& palette,
                    int transparent) {
    const GifImageDesc& frame = gif->Image;
    Bitmap bitmap(screen.width, screen.height);
    bitmap.fill(kWhite);
    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (int frameY : frameRowOrder(frame)) {
        check(gif, DGifGetLine(gif, line.data(), frame.Width));
        const int y = frame.Top + frameY;
        if (y >= screen.height) {
            continue;
        }
        for (int frameX = 0; frameX < frame.Width; ++frameX) {
            const int x = frame.Left + frameX;
            const int index = line[static_cast<std::size_t>(frameX)];
            if (x < screen.width && index != transparent) {
                const std::size_t entry = static_cast<std::size_t>(index);
                bitmap.setPixel(x, y, entry < palette.size() ? palette[entry] : Rgb{});
            }
        }
    }
    return bitmap;
}

Bitmap readPaletteFrame(GifFileType* gif, const PictureSize& screen, std::vector<Rgb> palette) {
    Bitmap bitmap = Bitmap::withPalette(screen.width, screen.height, std::move(palette));
    for (int y : frameRowOrder(gif->Image)) {
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
    const int transparent = skipToFirstFrame(gif.get());
    const GifImageDesc& frame = gif->Image;
    checkPictureSize(frame.Width, frame.Height);
    const ColorMapObject* colours = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!colours) {
        throw ProjectError("the GIF picture has no colour table");
    }
    std::vector<Rgb> palette = paletteOf(*colours);
    if (frameFillsScreen(*gif) && transparent == NO_TRANSPARENT_COLOR) {
        return readPaletteFrame(gif.get(), screen, std::move(palette));
    }
    return composeFrame(gif.get(), screen, palette, transparent);
}

} // namespace vellumar
