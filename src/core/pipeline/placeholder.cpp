#include "placeholder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "imaging/jpeg_writer.h"
#include "imaging/raster.h"

namespace vellumar {

namespace {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = kGlyphWidth + 1;
constexpr int kLineAdvance = kGlyphHeight + 3;

struct Glyph {
    char letter;
    // One row a byte, top to bottom; bit 4 is the leftmost column.
    std::array<std::uint8_t, kGlyphHeight> rows;
};

// Just the letters of the message.
constexpr std::array kGlyphs = {
    Glyph{'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}},
    Glyph{'b', {0x10, 0x10, 0x1E, 0x11, 0x11, 0x11, 0x1E}},
    Glyph{'c', {0x00, 0x00, 0x0E, 0x10, 0x10, 0x10, 0x0E}},
    Glyph{'d', {0x01, 0x01, 0x0F, 0x11, 0x11, 0x11, 0x0F}},
    Glyph{'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
    Glyph{'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}},
    Glyph{'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    Glyph{'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}},
    Glyph{'p', {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10}},
    Glyph{'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}},
    Glyph{'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
    Glyph{'u', {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}},
};

constexpr std::array<std::string_view, 2> kMessage = {"picture", "cannot be read"};

constexpr Rgb kBackground{224, 224, 224};
constexpr Rgb kInk{96, 96, 96};

const Glyph* glyphOf(char letter) {
    const auto found = std::find_if(kGlyphs.begin(), kGlyphs.end(), [letter](const Glyph& glyph) {
        return glyph.letter == letter;
    });
    return found == kGlyphs.end() ? nullptr : &*found;
}

void fillRect(Bitmap& bitmap, int left, int top, int size, Rgb colour) {
    for (int y = std::max(top, 0); y < std::min(top + size, bitmap.height()); ++y) {
        for (int x = std::max(left, 0); x < std::min(left + size, bitmap.width()); ++x) {
            bitmap.setPixel(x, y, colour);
        }
    }
}

void drawText(Bitmap& bitmap, std::string_view text, int left, int top, int scale) {
    for (char letter : text) {
        if (const Glyph* glyph = glyphOf(letter)) {
            for (int row = 0; row < kGlyphHeight; ++row) {
                for (int column = 0; column < kGlyphWidth; ++column) {
                    if (glyph->rows[row] & (0x10 >> column)) {
                        fillRect(bitmap, left + column * scale, top + row * scale, scale, kInk);
                    }
                }
            }
        }
        left += kGlyphAdvance * scale;
    }
}

} // namespace

PictureSize placeholderSize(const std::optional<PictureBox>& box) {
    return box ? PictureSize{box->width, box->height} : PictureSize{640, 480};
}

Bitmap placeholderBitmap(int width, int height) {
    Bitmap bitmap(width, height);
    bitmap.fill(kBackground);
    const Pen frame{1, kInk};
    drawLine(bitmap, {0, 0}, {width - 1, 0}, frame);
    drawLine(bitmap, {width - 1, 0}, {width - 1, height - 1}, frame);
    drawLine(bitmap, {width - 1, height - 1}, {0, height - 1}, frame);
    drawLine(bitmap, {0, height - 1}, {0, 0}, frame);

    const int widest = static_cast<int>(kMessage[1].size()) * kGlyphAdvance;
    const int tallest = static_cast<int>(kMessage.size()) * kLineAdvance;
    // As large as a third of the box allows, so the words read at any size; a box too small
    // for the smallest letters stays plain.
    const int scale = std::min((width - 4) / widest, height / 3 / tallest + 1);
    if (scale < 1 || tallest * scale > height - 4) {
        return bitmap;
    }
    int top = (height - tallest * scale) / 2;
    for (std::string_view line : kMessage) {
        const int lineWidth = static_cast<int>(line.size()) * kGlyphAdvance * scale;
        drawText(bitmap, line, (width - lineWidth) / 2, top, scale);
        top += kLineAdvance * scale;
    }
    return bitmap;
}

RenderedPicture placeholderPicture(const std::optional<PictureBox>& box) {
    const PictureSize size = placeholderSize(box);
    return {size.width, size.height, encodeJpeg(placeholderBitmap(size.width, size.height))};
}

} // namespace vellumar
