#include "raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vellumar {

namespace {

void fillRect(Bitmap& target, int left, int top, int right, int bottom, Rgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, target.width());
    bottom = std::min(bottom, target.height());
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* p = target.row(y) + static_cast<std::size_t>(left) * 3;
        for (int x = left; x < right; ++x, p += 3) {
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
        }
    }
}

// Calls plot(x, y) for every point of the line from `from` to `to`, the end included when
// asked, stepping one pixel at a time along the longer axis.
template <typename Plot>
void walkLine(Point from, Point to, bool includeEnd, Plot plot) {
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx - dy;
    Point at = from;
    for (int steps = std::max(dx, dy) + (includeEnd ? 1 : 0); steps > 0; --steps) {
        plot(at.x, at.y);
        const int twice = 2 * error;
        if (twice > -dy) {
            error -= dy;
            at.x += stepX;
        }
        if (twice < dx) {
            error += dx;
            at.y += stepY;
        }
    }
}

} // namespace

Rgb24View::Rgb24View(const Bitmap& bitmap) : m_original(bitmap) {
    if (bitmap.layout() != Bitmap::Layout::Rgb24) {
        m_converted = bitmap;
        m_converted->convertToRgb24();
    }
}

void drawBitmap(Bitmap& target, const Bitmap& source, int x, int y) {
    target.convertToRgb24();
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    const int left = std::max(x, 0);
    const int right = std::min(x + rgb.width(), target.width());
    if (left >= right) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 3;
    const int top = std::max(y, 0);
    const int bottom = std::min(y + rgb.height(), target.height());
    for (int row = top; row < bottom; ++row) {
        std::memcpy(target.row(row) + static_cast<std::size_t>(left) * 3,
                    rgb.row(row - y) + static_cast<std::size_t>(left - x) * 3, bytes);
    }
}

void drawLine(Bitmap& target, Point from, Point to, const Pen& pen) {
    target.convertToRgb24();
    if (pen.width <= 1) {
        walkLine(from, to, false, [&](int x, int y) {
            if (x >= 0 && y >= 0 && x < target.width() && y < target.height()) {
                target.setPixel(x, y, pen.colour);
            }
        });
        return;
    }
    const int before = pen.width / 2;
    const int after = pen.width - before;
    if (from.x == to.x || from.y == to.y) { // the outline's case: one rectangle
        fillRect(target, std::min(from.x, to.x) - before, std::min(from.y, to.y) - before,
                 std::max(from.x, to.x) + after, std::max(from.y, to.y) + after, pen.colour);
        return;
    }
    walkLine(from, to, true, [&](int x, int y) {
        fillRect(target, x - before, y - before, x + after, y + after, pen.colour);
    });
}

Bitmap stretchUnblended(const Bitmap& source, int width, int height) {
    Bitmap target(width, height);
    if (target.isEmpty() || source.isEmpty()) {
        return target;
    }
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    std::vector<std::size_t> sourceOffsets(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        sourceOffsets[x] =
            static_cast<std::size_t>(static_cast<std::int64_t>(x) * rgb.width() / width) * 3;
    }
    for (int y = 0; y < height; ++y) {
        const int sourceY = static_cast<int>(static_cast<std::int64_t>(y) * rgb.height() / height);
        const std::uint8_t* in = rgb.row(sourceY);
        std::uint8_t* out = target.row(y);
        for (const std::size_t offset : sourceOffsets) {
            out[0] = in[offset];
            out[1] = in[offset + 1];
            out[2] = in[offset + 2];
            out += 3;
        }
    }
    return target;
}

} // namespace vellumar
