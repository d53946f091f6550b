#include "bitmap.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace vellumar {

namespace {

std::size_t pixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

} // namespace

Bitmap::Bitmap(int width, int height) : Bitmap(uninitialized(width, height)) {
    std::memset(m_pixels.data(), 0, m_pixels.size());
}

Bitmap Bitmap::uninitialized(int width, int height) {
    Bitmap bitmap;
    bitmap.m_width = width;
    bitmap.m_height = height;
    bitmap.m_pixels.resize(pixelCount(width, height) * 3);
    return bitmap;
}

Bitmap Bitmap::adopting(int width, int height, PixelBuffer pixels) {
    Bitmap bitmap;
    bitmap.m_width = width;
    bitmap.m_height = height;
    bitmap.m_pixels = std::move(pixels);
    bitmap.m_pixels.resize(pixelCount(width, height) * 3);
    return bitmap;
}

Bitmap Bitmap::withPalette(int width, int height, std::vector<Rgb> palette) {
    Bitmap bitmap;
    bitmap.m_width = width;
    bitmap.m_height = height;
    bitmap.m_layout = Layout::Palette8;
    bitmap.m_palette = std::move(palette);
    // Room to become 24-bit where it lies: pages not yet written to take no memory.
    bitmap.m_pixels.reserve(pixelCount(width, height) * 3);
    bitmap.m_pixels.resize(pixelCount(width, height));
    std::memset(bitmap.m_pixels.data(), 0, bitmap.m_pixels.size());
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
    std::uint8_t* bytes = m_pixels.data();
    for (std::size_t i = 0; i + 2 < m_pixels.size(); i += 3) {
        bytes[i] = colour.r;
        bytes[i + 1] = colour.g;
        bytes[i + 2] = colour.b;
    }
}

void Bitmap::convertToRgb24() {
    if (m_layout == Layout::Rgb24) {
        return;
    }
    // From the last pixel to the first, each index is read before its three bytes, which
    // lie at or after it, are written.
    const std::size_t count = m_pixels.size();
    m_pixels.resize(count * 3);
    std::uint8_t* bytes = m_pixels.data();
    for (std::size_t i = count; i-- > 0;) {
        const std::size_t index = bytes[i];
        const Rgb c = index < m_palette.size() ? m_palette[index] : Rgb{};
        bytes[i * 3] = c.r;
        bytes[i * 3 + 1] = c.g;
        bytes[i * 3 + 2] = c.b;
    }
    m_palette.clear();
    m_layout = Layout::Rgb24;
}

void Bitmap::reset(int width, int height) {
    m_width = width;
    m_height = height;
    m_layout = Layout::Rgb24;
    m_palette.clear();
    m_pixels.resize(pixelCount(width, height) * 3);
}

} // namespace vellumar
