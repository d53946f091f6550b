#include "metafile_painter.h"

#include <algorithm>

namespace vellumar {

namespace {

// Saved states kept at most; a file saving more only loses the oldest.
constexpr std::size_t kMostSavedStates = 1024;

} // namespace

MetafilePainter::MetafilePainter(int width, int height, MetafileMapping mapping)
    : m_canvas(width, height) {
    m_state.mapping = mapping;
}

void MetafilePainter::save() {
    if (m_saved.size() == kMostSavedStates) {
        m_saved.erase(m_saved.begin());
    }
    m_saved.push_back(m_state);
}

void MetafilePainter::restore(int which) {
    const std::int64_t count = static_cast<std::int64_t>(m_saved.size());
    const std::int64_t index = which < 0 ? count + which : std::int64_t{which} - 1;
    if (index < 0 || index >= count) {
        return;
    }
    m_state = m_saved[static_cast<std::size_t>(index)];
    m_saved.resize(static_cast<std::size_t>(index));
}

void MetafilePainter::putObject(std::uint32_t index, MetafileObject object) {
    m_objects[index] = object;
}

void MetafilePainter::deleteObject(std::uint32_t index) {
    m_objects.erase(index);
}

void MetafilePainter::selectObject(std::uint32_t index) {
    const auto found = m_objects.find(index);
    if (found != m_objects.end()) {
        select(found->second);
    }
}

void MetafilePainter::select(const MetafileObject& object) {
    if (object.kind == MetafileObject::Kind::Pen) {
        m_state.pen = object;
    } else if (object.kind == MetafileObject::Kind::Brush) {
        m_state.brush = object;
    }
}

std::vector<PointF> MetafilePainter::toDevice(const std::vector<PointF>& points) const {
    std::vector<PointF> device(points.size());
    std::transform(points.begin(), points.end(), device.begin(),
                   [this](PointF p) { return m_state.mapping.toDevice(p); });
    return device;
}

void MetafilePainter::outline(const std::vector<PointF>& devicePoints, bool closed) {
    if (m_state.pen.colour) {
        const double width = m_state.mapping.widthToDevice(m_state.pen.width);
        m_canvas.stroke(devicePoints, closed, {*m_state.pen.colour, width});
    }
}

void MetafilePainter::fillAndOutline(const std::vector<std::vector<PointF>>& deviceRings) {
    if (m_state.brush.colour) {
        m_canvas.fill(deviceRings, m_state.fillRule, *m_state.brush.colour);
    }
    for (const auto& ring : deviceRings) {
        outline(ring, true);
    }
}

void MetafilePainter::lineTo(PointF point) {
    outline(toDevice({m_state.position, point}), false);
    m_state.position = point;
}

void MetafilePainter::polyline(const std::vector<PointF>& points) {
    outline(toDevice(points), false);
}

void MetafilePainter::polygons(const std::vector<std::vector<PointF>>& rings) {
    std::vector<std::vector<PointF>> device;
    for (const auto& ring : rings) {
        device.push_back(toDevice(ring));
    }
    fillAndOutline(device);
}

void MetafilePainter::rectangle(PointF topLeft, PointF bottomRight) {
    const PointF a = m_state.mapping.toDevice(topLeft);
    const PointF b = m_state.mapping.toDevice(bottomRight);
    const double left = std::min(a.x, b.x);
    const double right = std::max(a.x, b.x);
    const double top = std::min(a.y, b.y);
    const double bottom = std::max(a.y, b.y);
    if (m_state.brush.colour) {
        m_canvas.fill({{{left, top}, {right, top}, {right, bottom}, {left, bottom}}},
                      FillRule::NonZero, *m_state.brush.colour);
    }
    // The outline runs along the outermost pixels inside the rectangle.
    outline({{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}}, true);
}

void MetafilePainter::ellipse(PointF topLeft, PointF bottomRight) {
    fillAndOutline(
        {ellipseRing(m_state.mapping.toDevice(topLeft), m_state.mapping.toDevice(bottomRight))});
}

void MetafilePainter::picture(const MetafileDib& dib, std::int64_t sourceX, std::int64_t sourceY,
                              std::int64_t sourceWidth, std::int64_t sourceHeight, PointF topLeft,
                              PointF extent, Extent extentUnit) {
    const std::int64_t top =
        dib.bottomUp ? std::int64_t{dib.picture.height()} - sourceY - sourceHeight : sourceY;
    const PointF corner = m_state.mapping.toDevice(topLeft);
    const PointF opposite =
        extentUnit == Extent::Pixels
            ? PointF{corner.x + extent.x, corner.y + extent.y}
            : m_state.mapping.toDevice({topLeft.x + extent.x, topLeft.y + extent.y});
    m_canvas.drawPicture(dib.picture, sourceX, top, sourceWidth, sourceHeight, corner, opposite);
}

} // namespace vellumar
