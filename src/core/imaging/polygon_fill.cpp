#include "polygon_fill.h"

#include <algorithm>
#include <cmath>

namespace vellumar {

namespace {

struct Edge {
    double top = 0;    // smaller y
    double bottom = 0; // larger y
    double xAtTop = 0;
    double slope = 0;  // change of x per unit of y
    int direction = 0; // +1 downwards, -1 upwards
};

struct Crossing {
    double x = 0;
    int direction = 0;
};

std::vector<Edge> edgesOf(const std::vector<Ring>& rings) {
    std::vector<Edge> edges;
    for (const Ring& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const PointF a = ring[i];
            const PointF b = ring[(i + 1) % ring.size()];
            if (a.y == b.y || !std::isfinite(a.x + a.y + b.x + b.y)) {
                continue;
            }
            const bool down = a.y < b.y;
            const PointF& upper = down ? a : b;
            const PointF& lower = down ? b : a;
            edges.push_back({upper.y, lower.y, upper.x, (lower.x - upper.x) / (lower.y - upper.y),
                             down ? 1 : -1});
        }
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& l, const Edge& r) { return l.top < r.top; });
    return edges;
}

// The first pixel whose centre lies at or right of x, clamped to [0, width].
int firstPixelFrom(double x, int width) {
    const double pixel = std::ceil(x - 0.5);
    return static_cast<int>(std::clamp(pixel, 0.0, static_cast<double>(width)));
}

} // namespace

std::uint64_t fillPolygon(Bitmap& target, const std::vector<Ring>& rings, FillRule rule, Rgb colour,
                          std::uint64_t workLimit) {
    const std::vector<Edge> edges = edgesOf(rings);
    if (edges.empty() || target.isEmpty()) {
        return 0;
    }
    target.convertToRgb24();
    double top = edges.front().top;
    double bottom = top;
    for (const Edge& edge : edges) {
        bottom = std::max(bottom, edge.bottom);
    }
    const int firstRow = static_cast<int>(
        std::clamp(std::ceil(top - 0.5), 0.0, static_cast<double>(target.height())));
    const int endRow = static_cast<int>(
        std::clamp(std::ceil(bottom - 0.5), 0.0, static_cast<double>(target.height())));
    std::uint64_t work = 0;
    std::size_t nextEdge = 0;
    std::vector<const Edge*> active;
    std::vector<Crossing> crossings;
    for (int y = firstRow; y < endRow && work <= workLimit; ++y) {
        const double centre = y + 0.5;
        while (nextEdge < edges.size() && edges[nextEdge].top <= centre) {
            active.push_back(&edges[nextEdge++]);
        }
        std::erase_if(active, [centre](const Edge* edge) { return edge->bottom <= centre; });
        crossings.clear();
        for (const Edge* edge : active) {
            // An edge flat enough for its slope to overflow crosses the centre line at its top
            // when it starts there: 0 times infinity would make the crossing a NaN.
            const double along = centre - edge->top;
            const double x = along == 0 ? edge->xAtTop : edge->xAtTop + along * edge->slope;
            crossings.push_back({x, edge->direction});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        work += 1 + crossings.size();
        int winding = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            winding += rule == FillRule::EvenOdd ? 1 : crossings[i].direction;
            const bool inside = rule == FillRule::EvenOdd ? winding % 2 != 0 : winding != 0;
            if (!inside) {
                continue;
            }
            const int from = firstPixelFrom(crossings[i].x, target.width());
            const int to = firstPixelFrom(crossings[i + 1].x, target.width());
            std::uint8_t* pixel = target.row(y) + static_cast<std::size_t>(from) * 3;
            for (int x = from; x < to; ++x, pixel += 3) {
                pixel[0] = colour.r;
                pixel[1] = colour.g;
                pixel[2] = colour.b;
            }
            work += static_cast<std::uint64_t>(std::max(0, to - from));
        }
    }
    return work;
}

} // namespace vellumar
