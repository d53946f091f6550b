#pragma once

#include <optional>

#include "imaging/bitmap.h"

namespace vellumar {

struct Point {
    int x = 0;
    int y = 0;
};

struct Pen {
    int width = 1;
    Rgb colour;
};

// Copies every pixel of source onto target with the source's top-left corner at (x, y);
// what falls outside the target is left out.
void drawBitmap(Bitmap& target, const Bitmap& source, int x, int y);

// A straight line. With width 1 it covers the pixels from `from` up to but not including
// `to`, so lines joined end to start never paint a corner twice. A wider line straddles its
// path (width / 2 pixels before it, the rest on and after it) and includes both ends, which
// closes the corners of an outline.
void drawLine(Bitmap& target, Point from, Point to, const Pen& pen);

// The whole source scaled onto a new 24-bit bitmap of width x height without blending:
// target pixel (x, y) is source pixel (x * sw / width, y * sh / height), rounded down.
Bitmap stretchUnblended(const Bitmap& source, int width, int height);

// A 24-bit view of a bitmap: the bitmap itself, or a converted copy of a palette bitmap,
// so that pixel loops deal with one layout only.
class Rgb24View {
public:
    explicit Rgb24View(const Bitmap& bitmap);
    const Bitmap& bitmap() const { return m_converted ? *m_converted : m_original; }

private:
    const Bitmap& m_original;
    std::optional<Bitmap> m_converted;
};

} // namespace vellumar
