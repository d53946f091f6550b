#include "bitmap.h"

#include <cstdlib>
#include <limits>

namespace vellumar {

Bitmap::Bitmap(int width, int height)
    : m_width(width), m_height(height),
      m_pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0) {}

Bitmap Bitmap::withPalette(int width, int height, std::vector<Rgb> palette) {
    Bitmap bitmap;
    bitmap.m_width = width;
    bitmap.m_height = height;
    bitmap.m_layout = Layout::Palette8;
    bitmap.m_palette = std::move(palette);
    bitmap.m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return bitmap;
}

Rgb Bitmap::pixel(int x, int y) const {
    const std::uint8_t* p = row(y);
    if (m_layout == Layout::Palette8) {
        const std::size_t index = p[x];
        return index < m_palette.size() ? m_palette[index] : Rgb{};
    }
    p += static_cast<std::size_t>(x) * 3;
    return {p[0], p[1], p[2]};
}

void Bitmap::setPixel(int x, int y, Rgb colour) {
    std::uint8_t* p = row(y);
    if (m_layout == Layout::Palette8) {
        std::size_t best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < m_palette.size(); ++i) {
            const Rgb& entry = m_palette[i];
            const int distance = std::abs(entry.r - colour.r) + std::abs(entry.g - colour.g) +
                                 std::abs(entry.b - colour.b);
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        p[x] = static_cast<std::uint8_t>(best);
        return;
    }
    p += static_cast<std::size_t>(x) * 3;
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

void Bitmap::fill(Rgb colour) {
    if (m_layout == Layout::Palette8) {
        convertToRgb24();
    }
    for (std::size_t i = 0; i + 2 < m_pixels.size(); i += 3) {
        m_pixels[i] = colour.r;
        m_pixels[i + 1] = colour.g;
        m_pixels[i + 2] = colour.b;
    }
}

void Bitmap::convertToRgb24() {
    if (m_layout == Layout::Rgb24) {
        return;
    }
    std::vector<std::uint8_t> rgb(m_pixels.size() * 3);
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        const std::size_t index = m_pixels[i];
        const Rgb c = index < m_palette.size() ? m_palette[index] : Rgb{};
        rgb[i * 3] = c.r;
        rgb[i * 3 + 1] = c.g;
        rgb[i * 3 + 2] = c.b;
    }
    m_pixels = std::move(rgb);
    m_palette.clear();
    m_layout = Layout::Rgb24;
}

void Bitmap::reset(int width, int height) {
    m_width = width;
    m_height = height;
    m_layout = Layout::Rgb24;
    m_palette.clear();
    m_pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
}

} // namespace vellumar
