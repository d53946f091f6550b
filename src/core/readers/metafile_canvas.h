#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/polygon_fill.h"

namespace vellumar {

// A solid pen; width in device pixels (0 or 1 draws one-pixel lines).
struct MetafilePen {
    Rgb colour;
    double width = 1;
};

// Logical-to-device coordinate mapping of a metafile: the window (logical) rectangle is
// mapped onto the viewport (device) rectangle.
struct MetafileMapping {
    PointF windowOrigin{0, 0};
    PointF windowExtent{1, 1};
    PointF viewportOrigin{0, 0};
    PointF viewportExtent{1, 1};
    bool scaled = true; // whether the extents apply (not in the one-to-one mapping mode)

    PointF toDevice(PointF logical) const;
    // A length along x in device pixels.
    double widthToDevice(double logical) const;
};

// The picture a metafile is drawn onto: white at first, with every drawing clipped to it.
// The work of all drawings is counted and bounded, so that no file can keep it busy for
// long (a few records filling a huge picture over and over).
class MetafileCanvas {
public:
    MetafileCanvas(int width, int height);

    // Coordinates are device pixels; for fills a point is a pixel's top-left corner, for
    // lines a pixel's centre, as on a screen.
    void fill(const std::vector<Ring>& rings, FillRule rule, Rgb colour);
    void stroke(const std::vector<PointF>& path, bool closed, const MetafilePen& pen);
    // Draws the source scaled (nearest pixel) onto the destination rectangle from corner a to
    // corner b; a destination with a < b mirrored on an axis mirrors the picture.
    void drawPicture(const Bitmap& source, std::int64_t sourceX, std::int64_t sourceY,
                     std::int64_t sourceWidth, std::int64_t sourceHeight, PointF a, PointF b);

    Bitmap takePicture() { return std::move(m_picture); }

private:
    void spend(std::uint64_t work);

    Bitmap m_picture;
    std::uint64_t m_workLeft;
};

// Points of an ellipse inscribed in the rectangle, enough for a smooth outline.
Ring ellipseRing(PointF topLeft, PointF bottomRight);

} // namespace vellumar
