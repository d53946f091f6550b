#pragma once

#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar {

struct PointF {
    double x = 0;
    double y = 0;
};

// A closed outline; the last point joins the first.
using Ring = std::vector<PointF>;

enum class FillRule {
    EvenOdd, // a point is inside when a ray from it crosses the outline an odd number of times
    NonZero, // a point is inside when the outline winds around it at all
};

// Fills one or more rings as one shape in a solid colour (a palette target becomes 24-bit).
// A pixel is painted when its centre (x + 0.5, y + 0.5) lies inside; everything outside the
// bitmap is clipped. Returns the work done (edge crossings found plus pixels painted), so
// callers can bound a drawing's cost; once the work passes workLimit the fill stops
// part-way.
std::uint64_t fillPolygon(Bitmap& target, const std::vector<Ring>& rings, FillRule rule, Rgb colour,
                          std::uint64_t workLimit = UINT64_MAX);

} // namespace vellumar
