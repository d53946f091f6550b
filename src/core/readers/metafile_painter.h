#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "readers/metafile_canvas.h"
#include "readers/metafile_dib.h"

namespace vellumar {

// A GDI object a metafile creates and selects. Only solid pens and brushes draw; every
// other object (fonts, palettes, pattern brushes, regions) is kept so that selecting it
// is harmless.
struct MetafileObject {
    enum class Kind { Pen, Brush, Other };
    Kind kind = Kind::Other;
    std::optional<Rgb> colour; // nullopt: the null pen or hollow brush
    double width = 0;          // pen width in logical units
};

// The drawing state of a metafile being played: mapping, selected pen and brush, fill
// mode, current position, saved states and the object table. Both metafile kinds draw
// through it; coordinates given to it are logical.
class MetafilePainter {
public:
    MetafilePainter(int width, int height, MetafileMapping mapping);

    MetafileMapping& mapping() { return m_state.mapping; }
    void setFillRule(FillRule rule) { m_state.fillRule = rule; }

    void save();
    // Restores a saved state: -1 the last saved, -2 the one before; a positive n the n-th
    // saved from the first. An unknown state is ignored.
    void restore(int which);

    void putObject(std::uint32_t index, MetafileObject object);
    bool hasObject(std::uint32_t index) const { return m_objects.contains(index); }
    void deleteObject(std::uint32_t index);
    void selectObject(std::uint32_t index);
    void select(const MetafileObject& object);

    void moveTo(PointF point) { m_state.position = point; }
    void lineTo(PointF point);
    void polyline(const std::vector<PointF>& points);
    void polygons(const std::vector<std::vector<PointF>>& rings);
    void rectangle(PointF topLeft, PointF bottomRight);
    void ellipse(PointF topLeft, PointF bottomRight);
    // Draws the source rectangle of a bitmap onto a destination rectangle at a logical
    // point, its extent logical as well or, for unscaled blits, in pixels. The source y
    // counts from the bottom row for a bottom-up DIB, as the blits do.
    enum class Extent { Logical, Pixels };
    void picture(const MetafileDib& dib, std::int64_t sourceX, std::int64_t sourceY,
                 std::int64_t sourceWidth, std::int64_t sourceHeight, PointF topLeft, PointF extent,
                 Extent extentUnit = Extent::Logical);

    Bitmap takePicture() { return m_canvas.takePicture(); }

private:
    struct State {
        MetafileMapping mapping;
        MetafileObject pen{MetafileObject::Kind::Pen, Rgb{0, 0, 0}, 0};
        MetafileObject brush{MetafileObject::Kind::Brush, Rgb{255, 255, 255}, 0};
        FillRule fillRule = FillRule::EvenOdd;
        PointF position;
    };

    std::vector<PointF> toDevice(const std::vector<PointF>& points) const;
    void outline(const std::vector<PointF>& devicePoints, bool closed);
    void fillAndOutline(const std::vector<std::vector<PointF>>& deviceRings);

    MetafileCanvas m_canvas;
    State m_state;
    std::vector<State> m_saved;
    std::map<std::uint32_t, MetafileObject> m_objects;
};

} // namespace vellumar
