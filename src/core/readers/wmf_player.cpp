#include "wmf_player.h"

#include <cmath>
#include <set>
#include <string>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/metafile_painter.h"

namespace vellumar {

namespace wmf {

constexpr std::uint32_t kPlaceableKey = 0x9ac6cdd7;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr double kPixelsPerInch = 96;

// Placeable header, which the 16-bit metafile header follows.
struct PlaceableHeader {
    std::uint32_t key = 0;          // kPlaceableKey
                                    // u16 handle, unused on disk
    std::int16_t left = 0;          // bounding box in logical units
    std::int16_t top = 0;           //
    std::int16_t right = 0;         //
    std::int16_t bottom = 0;        //
    std::uint16_t unitsPerInch = 0; // logical units in an inch
                                    // u32 reserved, u16 checksum
};

// Metafile header.
struct Header {
    std::uint16_t type = 0;          // 1 in memory, 2 on disk
    std::uint16_t headerWords = 0;   // 9
    std::uint16_t version = 0;       // 0x0100 or 0x0300
    std::uint32_t sizeWords = 0;     // the whole metafile in 16-bit words
    std::uint16_t objectCount = 0;   // slots of the object table
    std::uint32_t largestRecord = 0; // in words
    std::uint16_t unused = 0;        // always 0
};
constexpr std::size_t kHeaderSize = 18;

// Record functions read here.
enum Function : std::uint16_t {
    kEof = 0x0000,
    kSaveDc = 0x001e,
    kCreatePalette = 0x00f7,
    kSetPolyFillMode = 0x0106,
    kRestoreDc = 0x0127,
    kSelectObject = 0x012d,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01f0,
    kCreatePatternBrush = 0x01f9,
    kSetWindowOrg = 0x020b,
    kSetWindowExt = 0x020c,
    kSetViewportOrg = 0x020d,
    kSetViewportExt = 0x020e,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02fa,
    kCreateFontIndirect = 0x02fb,
    kCreateBrushIndirect = 0x02fc,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kEllipse = 0x0418,
    kRectangle = 0x041b,
    kPolyPolygon = 0x0538,
    kCreateRegion = 0x06ff,
    kDibBitBlt = 0x0940,
    kDibStretchBlt = 0x0b41,
    kSetDibToDevice = 0x0d33,
    kStretchDib = 0x0f43,
};

// A record: u32 size in words (the 6-byte head included), u16 function, parameters.
struct Record {
    std::uint16_t function = 0; // Function
    Bytes parameters;           // (size - 3) words
};

constexpr std::uint16_t kNullPenStyle = 5;
constexpr std::uint16_t kSolidBrushStyle = 0;
constexpr std::uint16_t kPaletteColourUsage = 1; // DIB_PAL_COLORS: the colours are indices

} // namespace wmf

namespace {

[[noreturn]] void damaged(const std::string& what) {
    throw ProjectError("the metafile is damaged: " + what);
}

bool isPlaceable(Bytes bytes) {
    return bytes.size() >= 4 && ByteReader(bytes).u32le() == wmf::kPlaceableKey;
}

std::optional<wmf::PlaceableHeader> readPlaceable(Bytes bytes) {
    if (!isPlaceable(bytes)) {
        return std::nullopt;
    }
    ByteReader cursor(bytes);
    wmf::PlaceableHeader header;
    header.key = cursor.u32le();
    cursor.skip(2);
    header.left = cursor.i16le();
    header.top = cursor.i16le();
    header.right = cursor.i16le();
    header.bottom = cursor.i16le();
    header.unitsPerInch = cursor.u16le();
    return header;
}

std::size_t headerStart(Bytes bytes) {
    return isPlaceable(bytes) ? wmf::kPlaceableHeaderSize : 0;
}

wmf::Header readHeader(Bytes bytes) {
    ByteReader cursor(bytes, headerStart(bytes));
    wmf::Header header;
    header.type = cursor.u16le();
    header.headerWords = cursor.u16le();
    header.version = cursor.u16le();
    header.sizeWords = cursor.u32le();
    header.objectCount = cursor.u16le();
    header.largestRecord = cursor.u32le();
    header.unused = cursor.u16le();
    if ((header.type != 1 && header.type != 2) || header.headerWords != 9) {
        throw ProjectError("the file is not a Windows metafile");
    }
    return header;
}

// Walks the records after the header; stops at the end-of-file record or the data's end.
class RecordWalker {
public:
    explicit RecordWalker(Bytes bytes) : m_cursor(bytes, headerStart(bytes) + wmf::kHeaderSize) {}

    std::optional<wmf::Record> next() {
        if (m_cursor.atEnd()) {
            return std::nullopt;
        }
        const std::uint64_t words = m_cursor.u32le();
        const std::uint16_t function = m_cursor.u16le();
        if (words < 3 || (words - 3) * 2 > m_cursor.remaining()) {
            damaged("a record's size runs past the end of the file");
        }
        if (function == wmf::kEof) {
            return std::nullopt;
        }
        return wmf::Record{function, m_cursor.take((words - 3) * 2)};
    }

private:
    ByteReader m_cursor;
};

PointF readPoint(ByteReader& cursor) {
    const double x = cursor.i16le();
    const double y = cursor.i16le();
    return {x, y};
}

// Coordinate pairs that the records give y first.
PointF readYx(ByteReader& cursor) {
    const double y = cursor.i16le();
    const double x = cursor.i16le();
    return {x, y};
}

std::vector<PointF> readPoints(ByteReader& cursor, std::size_t count) {
    if (cursor.remaining() / 4 < count) {
        damaged("a record holds fewer points than it says");
    }
    std::vector<PointF> points(count);
    for (PointF& point : points) {
        point = readPoint(cursor);
    }
    return points;
}

struct Layout {
    PictureSize size;
    MetafileMapping mapping;
};

Layout layoutOf(Bytes bytes) {
    readHeader(bytes);
    Layout layout;
    if (const auto placeable = readPlaceable(bytes)) {
        if (placeable->unitsPerInch == 0) {
            damaged("the placeable header gives no units per inch");
        }
        const double width = std::int64_t{placeable->right} - placeable->left;
        const double height = std::int64_t{placeable->bottom} - placeable->top;
        layout.size = checkPictureSize(
            std::llround(std::abs(width) * wmf::kPixelsPerInch / placeable->unitsPerInch),
            std::llround(std::abs(height) * wmf::kPixelsPerInch / placeable->unitsPerInch));
        layout.mapping.windowOrigin = {double(placeable->left), double(placeable->top)};
        layout.mapping.windowExtent = {width, height};
    } else {
        // Without a placeable header the first window extent tells the size.
        RecordWalker walker(bytes);
        bool found = false;
        while (const auto record = walker.next()) {
            ByteReader cursor(record->parameters);
            if (record->function == wmf::kSetWindowOrg) {
                layout.mapping.windowOrigin = readYx(cursor);
            } else if (record->function == wmf::kSetWindowExt) {
                layout.mapping.windowExtent = readYx(cursor);
                found = true;
                break;
            }
        }
        if (!found) {
            throw ProjectError("the metafile does not say how large it is");
        }
        layout.size = checkPictureSize(std::llround(std::abs(layout.mapping.windowExtent.x)),
                                       std::llround(std::abs(layout.mapping.windowExtent.y)));
    }
    layout.mapping.viewportExtent = {double(layout.size.width), double(layout.size.height)};
    return layout;
}

MetafileObject readPen(ByteReader& cursor) {
    const std::uint16_t style = cursor.u16le();
    const double width = cursor.i16le();
    cursor.skip(2); // the width's y, unused
    const Rgb colour = toRgb(static_cast<Color>(cursor.u32le() & 0xffffff));
    if ((style & 0x0f) == wmf::kNullPenStyle) {
        return {MetafileObject::Kind::Pen, std::nullopt, 0};
    }
    return {MetafileObject::Kind::Pen, colour, width};
}

MetafileObject readBrush(ByteReader& cursor) {
    const std::uint16_t style = cursor.u16le();
    const Rgb colour = toRgb(static_cast<Color>(cursor.u32le() & 0xffffff));
    if (style != wmf::kSolidBrushStyle) {
        return {MetafileObject::Kind::Brush, std::nullopt, 0};
    }
    return {MetafileObject::Kind::Brush, colour, 0};
}

// The object table: a new object takes the lowest free slot.
class ObjectSlots {
public:
    explicit ObjectSlots(std::uint16_t count) {
        for (std::uint32_t slot = 0; slot < count; ++slot) {
            m_free.insert(m_free.end(), slot);
        }
    }
    std::optional<std::uint32_t> take() {
        if (m_free.empty()) {
            return std::nullopt;
        }
        const std::uint32_t slot = *m_free.begin();
        m_free.erase(m_free.begin());
        return slot;
    }
    void release(std::uint32_t slot, std::uint16_t count) {
        if (slot < count) {
            m_free.insert(slot);
        }
    }

private:
    std::set<std::uint32_t> m_free;
};

class WmfPlayer {
public:
    WmfPlayer(const Layout& layout, std::uint16_t objectCount)
        : m_painter(layout.size.width, layout.size.height, layout.mapping), m_slots(objectCount),
          m_objectCount(objectCount) {}

    void play(const wmf::Record& record) {
        ByteReader cursor(record.parameters);
        switch (record.function) {
        case wmf::kSetWindowOrg:
            m_painter.mapping().windowOrigin = readYx(cursor);
            break;
        case wmf::kSetWindowExt:
            m_painter.mapping().windowExtent = readYx(cursor);
            break;
        case wmf::kSetViewportOrg:
            m_painter.mapping().viewportOrigin = readYx(cursor);
            break;
        case wmf::kSetViewportExt:
            m_painter.mapping().viewportExtent = readYx(cursor);
            break;
        case wmf::kSetPolyFillMode:
            m_painter.setFillRule(cursor.u16le() == 2 ? FillRule::NonZero : FillRule::EvenOdd);
            break;
        case wmf::kSaveDc:
            m_painter.save();
            break;
        case wmf::kRestoreDc:
            m_painter.restore(cursor.i16le());
            break;
        case wmf::kCreatePenIndirect:
            create(readPen(cursor));
            break;
        case wmf::kCreateBrushIndirect:
            create(readBrush(cursor));
            break;
        case wmf::kCreatePalette:
        case wmf::kCreatePatternBrush:
        case wmf::kDibCreatePatternBrush:
        case wmf::kCreateFontIndirect:
        case wmf::kCreateRegion:
            create({});
            break;
        case wmf::kSelectObject:
            m_painter.selectObject(cursor.u16le());
            break;
        case wmf::kDeleteObject: {
            const std::uint16_t slot = cursor.u16le();
            if (m_painter.hasObject(slot)) {
                m_painter.deleteObject(slot);
                m_slots.release(slot, m_objectCount);
            }
            break;
        }
        case wmf::kMoveTo:
            m_painter.moveTo(readYx(cursor));
            break;
        case wmf::kLineTo:
            m_painter.lineTo(readYx(cursor));
            break;
        case wmf::kPolyline:
            m_painter.polyline(readPoints(cursor, static_cast<std::uint16_t>(cursor.i16le())));
            break;
        case wmf::kPolygon:
            m_painter.polygons({readPoints(cursor, static_cast<std::uint16_t>(cursor.i16le()))});
            break;
        case wmf::kPolyPolygon:
            polyPolygon(cursor);
            break;
        case wmf::kRectangle:
        case wmf::kEllipse: {
            const PointF bottomRight = readYx(cursor);
            const PointF topLeft = readYx(cursor);
            if (record.function == wmf::kRectangle) {
                m_painter.rectangle(topLeft, bottomRight);
            } else {
                m_painter.ellipse(topLeft, bottomRight);
            }
            break;
        }
        case wmf::kStretchDib:
        case wmf::kDibStretchBlt:
        case wmf::kDibBitBlt:
        case wmf::kSetDibToDevice:
            bitmap(record.function, cursor);
            break;
        default:
            break; // not drawn
        }
    }

    Bitmap takePicture() { return m_painter.takePicture(); }

private:
    void create(const MetafileObject& object) {
        if (const auto slot = m_slots.take()) {
            m_painter.putObject(*slot, object);
        }
    }

    void polyPolygon(ByteReader& cursor) {
        const std::uint16_t count = cursor.u16le();
        std::vector<std::uint16_t> sizes(count);
        for (std::uint16_t& size : sizes) {
            size = cursor.u16le();
        }
        std::vector<std::vector<PointF>> rings;
        for (const std::uint16_t size : sizes) {
            rings.push_back(readPoints(cursor, size));
        }
        m_painter.polygons(rings);
    }

    // The four bitmap records differ in which fields they have; all end with a packed DIB.
    void bitmap(std::uint16_t function, ByteReader& cursor) {
        // The blits have a form without a bitmap (a pattern fill), one word longer in its
        // fields; its length in words is the function's high byte. Not drawn.
        if ((function == wmf::kDibStretchBlt || function == wmf::kDibBitBlt) &&
            cursor.size() == static_cast<std::size_t>(function >> 8) * 2) {
            return;
        }
        std::int64_t sourceWidth = 0, sourceHeight = 0, sourceX = 0, sourceY = 0;
        PointF extent, topLeft;
        MetafilePainter::Extent unit = MetafilePainter::Extent::Logical;
        if (function == wmf::kSetDibToDevice) {
            if (cursor.u16le() == wmf::kPaletteColourUsage) {
                return;
            }
            cursor.skip(4); // scan count and first scan, taken to cover the whole bitmap
            sourceY = cursor.i16le();
            sourceX = cursor.i16le();
            sourceHeight = cursor.i16le();
            sourceWidth = cursor.i16le();
            extent = {double(sourceWidth), double(sourceHeight)};
            unit = MetafilePainter::Extent::Pixels;
        } else {
            cursor.skip(4); // raster operation: every one is drawn as a copy
            if (function == wmf::kStretchDib && cursor.u16le() == wmf::kPaletteColourUsage) {
                return;
            }
            if (function == wmf::kDibBitBlt) {
                sourceY = cursor.i16le();
                sourceX = cursor.i16le();
                sourceHeight = cursor.i16le();
                sourceWidth = cursor.i16le();
                extent = {double(sourceWidth), double(sourceHeight)};
            } else {
                sourceHeight = cursor.i16le();
                sourceWidth = cursor.i16le();
                sourceY = cursor.i16le();
                sourceX = cursor.i16le();
                const double height = cursor.i16le();
                const double width = cursor.i16le();
                extent = {width, height};
            }
        }
        topLeft = readYx(cursor);
        const MetafileDib dib = decodePackedMetafileDib(cursor.rest());
        m_painter.picture(dib, sourceX, sourceY, sourceWidth, sourceHeight, topLeft, extent, unit);
    }

    MetafilePainter m_painter;
    ObjectSlots m_slots;
    std::uint16_t m_objectCount;
};

} // namespace

bool looksLikeWmf(Bytes bytes) {
    if (isPlaceable(bytes)) {
        return true;
    }
    if (bytes.size() < wmf::kHeaderSize) {
        return false;
    }
    ByteReader cursor(bytes);
    const std::uint16_t type = cursor.u16le();
    const std::uint16_t words = cursor.u16le();
    const std::uint16_t version = cursor.u16le();
    return (type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300);
}

PictureSize probeWmf(Bytes bytes) {
    return layoutOf(bytes).size;
}

Bitmap playWmf(Bytes bytes) {
    const Layout layout = layoutOf(bytes);
    // A file whose records do not fit together fails before any drawing is done.
    for (RecordWalker check(bytes); check.next();) {
    }
    WmfPlayer player(layout, readHeader(bytes).objectCount);
    RecordWalker walker(bytes);
    while (const auto record = walker.next()) {
        player.play(*record);
    }
    return player.takePicture();
}

} // namespace vellumar
