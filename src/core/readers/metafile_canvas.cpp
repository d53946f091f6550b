#include "metafile_canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "project_error.h"

namespace vellumar {

namespace {

// Device coordinates beyond this are of no use on a picture of at most 65,535 pixels a
// side; clamping keeps all arithmetic finite.
constexpr double kCoordinateLimit = 1e7;
// Drawing work allowed for one metafile: covering the picture 16 times over, and some more
// for small pictures with many shapes.
constexpr std::uint64_t kCoveragesAllowed = 16;
constexpr std::uint64_t kExtraWork = 1 << 20;
constexpr double kWidestPen = 65535;

double clampCoordinate(double value) {
    return std::isfinite(value) ? std::clamp(value, -kCoordinateLimit, kCoordinateLimit) : 0;
}

PointF clamped(PointF point) {
    return {clampCoordinate(point.x), clampCoordinate(point.y)};
}

} // namespace

PointF MetafileMapping::toDevice(PointF logical) const {
    if (!scaled) {
        return clamped({logical.x - windowOrigin.x + viewportOrigin.x,
                        logical.y - windowOrigin.y + viewportOrigin.y});
    }
    const double sx = windowExtent.x != 0 ? viewportExtent.x / windowExtent.x : 1;
    const double sy = windowExtent.y != 0 ? viewportExtent.y / windowExtent.y : 1;
    return clamped({(logical.x - windowOrigin.x) * sx + viewportOrigin.x,
                    (logical.y - windowOrigin.y) * sy + viewportOrigin.y});
}

double MetafileMapping::widthToDevice(double logical) const {
    const double scale =
        scaled && windowExtent.x != 0 ? std::abs(viewportExtent.x / windowExtent.x) : 1;
    return std::clamp(std::abs(logical) * scale, 0.0, kWidestPen);
}

MetafileCanvas::MetafileCanvas(int width, int height)
    : m_picture(width, height), m_workLeft(kCoveragesAllowed * static_cast<std::uint64_t>(width) *
                                               static_cast<std::uint64_t>(height) +
                                           kExtraWork) {
    m_picture.fill({255, 255, 255});
}

void MetafileCanvas::spend(std::uint64_t work) {
    if (work > m_workLeft) {
        throw ProjectError("the metafile is too complex to draw");
    }
    m_workLeft -= work;
}

void MetafileCanvas::fill(const std::vector<Ring>& rings, FillRule rule, Rgb colour) {
    std::vector<Ring> safe = rings;
    for (Ring& ring : safe) {
        std::transform(ring.begin(), ring.end(), ring.begin(), clamped);
        spend(ring.size());
    }
    spend(fillPolygon(m_picture, safe, rule, colour, m_workLeft));
}

void MetafileCanvas::stroke(const std::vector<PointF>& path, bool closed, const MetafilePen& pen) {
    if (path.empty()) {
        return;
    }
    const double half = std::max(pen.width, 1.0) / 2;
    std::vector<Ring> pieces;
    const auto centre = [](PointF p) { return PointF{p.x + 0.5, p.y + 0.5}; };
    const std::size_t segments = closed ? path.size() : path.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const PointF a = centre(clamped(path[i]));
        const PointF b = centre(clamped(path[(i + 1) % path.size()]));
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        // Along the segment and across it, each half the pen wide; the ends reach half a pen
        // beyond the points, so that joins close.
        const PointF along = length > 0
                                 ? PointF{(b.x - a.x) / length * half, (b.y - a.y) / length * half}
                                 : PointF{half, 0};
        const PointF across{-along.y, along.x};
        pieces.push_back({{a.x - along.x - across.x, a.y - along.y - across.y},
                          {b.x + along.x - across.x, b.y + along.y - across.y},
                          {b.x + along.x + across.x, b.y + along.y + across.y},
                          {a.x - along.x + across.x, a.y - along.y + across.y}});
    }
    if (segments == 0) { // a single point
        const PointF a = centre(clamped(path.front()));
        pieces.push_back({{a.x - half, a.y - half},
                          {a.x + half, a.y - half},
                          {a.x + half, a.y + half},
                          {a.x - half, a.y + half}});
    }
    // Filled as one shape with the non-zero rule, overlapping pieces paint once.
    fill(pieces, FillRule::NonZero, pen.colour);
}

void MetafileCanvas::drawPicture(const Bitmap& source, std::int64_t sourceX, std::int64_t sourceY,
                                 std::int64_t sourceWidth, std::int64_t sourceHeight, PointF a,
                                 PointF b) {
    a = clamped(a);
    b = clamped(b);
    // The part of the source rectangle that lies inside the source.
    const auto inside = [](std::int64_t value, int limit) {
        return static_cast<int>(std::clamp<std::int64_t>(value, 0, limit));
    };
    const int x0 = inside(sourceX, source.width());
    const int y0 = inside(sourceY, source.height());
    const int x1 = inside(sourceX + std::max<std::int64_t>(sourceWidth, 0), source.width());
    const int y1 = inside(sourceY + std::max<std::int64_t>(sourceHeight, 0), source.height());
    if (x1 <= x0 || y1 <= y0 || a.x == b.x || a.y == b.y) {
        return;
    }
    const auto pixelRange = [](double from, double to, int limit) {
        const double low = std::min(from, to);
        const double high = std::max(from, to);
        return std::pair{static_cast<int>(std::clamp(std::ceil(low - 0.5), 0.0, double(limit))),
                         static_cast<int>(std::clamp(std::ceil(high - 0.5), 0.0, double(limit)))};
    };
    const auto [left, right] = pixelRange(a.x, b.x, m_picture.width());
    const auto [top, bottom] = pixelRange(a.y, b.y, m_picture.height());
    spend(static_cast<std::uint64_t>(bottom - top) * static_cast<std::uint64_t>(right - left) + 1);
    for (int y = top; y < bottom; ++y) {
        const double v = (y + 0.5 - a.y) / (b.y - a.y);
        const int sy = std::clamp(y0 + static_cast<int>(v * (y1 - y0)), y0, y1 - 1);
        for (int x = left; x < right; ++x) {
            const double u = (x + 0.5 - a.x) / (b.x - a.x);
            const int sx = std::clamp(x0 + static_cast<int>(u * (x1 - x0)), x0, x1 - 1);
            m_picture.setPixel(x, y, source.pixel(sx, sy));
        }
    }
}

Ring ellipseRing(PointF topLeft, PointF bottomRight) {
    const PointF a = clamped(topLeft);
    const PointF b = clamped(bottomRight);
    const double rx = std::abs(b.x - a.x) / 2;
    const double ry = std::abs(b.y - a.y) / 2;
    const double cx = (a.x + b.x) / 2;
    const double cy = (a.y + b.y) / 2;
    // About one point every two pixels of outline, within reason.
    const int count = static_cast<int>(std::clamp(std::numbers::pi * (rx + ry), 16.0, 4096.0));
    Ring ring;
    ring.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double angle = 2 * std::numbers::pi * i / count;
        ring.push_back({cx + rx * std::cos(angle), cy + ry * std::sin(angle)});
    }
    return ring;
}

} // namespace vellumar
