#pragma once

#include <cstdint>
#include <vector>

#include "color.h"
#include "imaging/pixel_buffer.h"

namespace vellumar {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb toRgb(Color c) {
    return {static_cast<std::uint8_t>(redOf(c)), static_cast<std::uint8_t>(greenOf(c)),
            static_cast<std::uint8_t>(blueOf(c))};
}

// A raster of width x height pixels. Everything the pipeline creates is 24-bit RGB (three
// bytes per pixel, R G B, rows top to bottom without padding); a reader may hand back an
// 8-bit palette layout, whose pixels still read as RGB.
class Bitmap {
public:
    enum class Layout { Rgb24, Palette8 };

    Bitmap() = default;
    // A 24-bit bitmap filled with black. Callers check the size first (checkPictureSize).
    Bitmap(int width, int height);
    // A 24-bit bitmap whose pixels are undefined, for producers that write every pixel.
    static Bitmap uninitialized(int width, int height);
    // A 24-bit bitmap over pixels a producer wrote into a buffer of its own, three bytes a
    // pixel from its start; a larger buffer keeps its allocation.
    static Bitmap adopting(int width, int height, PixelBuffer pixels);
    // An 8-bit bitmap whose pixels index the palette (all index 0 at first).
    static Bitmap withPalette(int width, int height, std::vector<Rgb> palette);

    int width() const { return m_width; }
    int height() const { return m_height; }
    Layout layout() const { return m_layout; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }
    const std::vector<Rgb>& palette() const { return m_palette; }

    Rgb pixel(int x, int y) const;
    // On a palette bitmap the colour must be one of the palette's; the nearest entry is
    // stored otherwise.
    void setPixel(int x, int y, Rgb colour);
    void fill(Rgb colour);

    // Raw rows: 3 bytes a pixel for Rgb24, 1 byte (a palette index) for Palette8.
    std::uint8_t* row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * stride(); }
    const std::uint8_t* row(int y) const {
        return m_pixels.data() + static_cast<std::size_t>(y) * stride();
    }
    std::size_t stride() const {
        return static_cast<std::size_t>(m_width) * (m_layout == Layout::Rgb24 ? 3 : 1);
    }

    // Turns a palette bitmap into 24-bit RGB in place; a 24-bit one is left as it is.
    void convertToRgb24();

    // Makes this a 24-bit bitmap of the given size, keeping the allocation when it is large
    // enough, so a loop over many pictures does not pay for fresh memory each time. The
    // pixels are left undefined.
    void reset(int width, int height);

private:
    int m_width = 0;
    int m_height = 0;
    Layout m_layout = Layout::Rgb24;
    std::vector<Rgb> m_palette;
    PixelBuffer m_pixels;
};

} // namespace vellumar
