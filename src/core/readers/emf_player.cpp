#include "emf_player.h"

#include <cmath>
#include <string>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/metafile_painter.h"

namespace vellumar {

namespace emf {

constexpr std::uint32_t kSignature = 0x464d4520; // " EMF"

// The header record (type 1), as far as it is read.
struct Header {
    std::uint32_t type = 0;                         // 1
    std::uint32_t size = 0;                         // bytes of the header record
    std::int32_t boundsLeft = 0, boundsTop = 0;     // drawing's extent in reference-device
    std::int32_t boundsRight = 0, boundsBottom = 0; // pixels, inclusive
    std::int32_t frameLeft = 0, frameTop = 0;       // picture's frame in hundredths of a
    std::int32_t frameRight = 0, frameBottom = 0;   // millimetre, inclusive
    std::uint32_t signature = 0;                    // kSignature
    std::uint32_t version = 0;                      // 0x10000
    std::uint32_t bytes = 0;                        // size of the whole file
    std::uint32_t records = 0;                      // number of records
    std::uint16_t handles = 0;                      // size of the object table (unused)
    std::uint16_t reserved = 0;
    std::uint32_t descriptionLength = 0; // description text (unused)
    std::uint32_t descriptionOffset = 0;
    std::uint32_t paletteEntries = 0;
    std::int32_t deviceWidth = 0, deviceHeight = 0;     // reference device in pixels
    std::int32_t deviceWidthMm = 0, deviceHeightMm = 0; // and in millimetres
};
constexpr std::size_t kHeaderSize = 88;

enum RecordType : std::uint32_t {
    kHeader = 1,
    kPolygon = 3,
    kPolyline = 4,
    kPolyPolygon = 8,
    kSetWindowExtEx = 9,
    kSetWindowOrgEx = 10,
    kSetViewportExtEx = 11,
    kSetViewportOrgEx = 12,
    kEof = 14,
    kSetMapMode = 17,
    kSetPolyFillMode = 19,
    kMoveToEx = 27,
    kSaveDc = 33,
    kRestoreDc = 34,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kLineTo = 54,
    kBitBlt = 76,
    kStretchBlt = 77,
    kSetDiBitsToDevice = 80,
    kStretchDiBits = 81,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kPolyPolygon16 = 91,
    kExtCreatePen = 95,
};

constexpr std::uint32_t kStockObject = 0x80000000;
constexpr std::uint32_t kNullPenStyle = 5;
constexpr std::uint32_t kSolidBrushStyle = 0;
constexpr std::uint32_t kPaletteColourUsage = 1;
constexpr std::uint32_t kIsotropic = 7;
constexpr std::uint32_t kAnisotropic = 8;

} // namespace emf

namespace {

[[noreturn]] void damaged(const std::string& what) {
    throw ProjectError("the metafile is damaged: " + what);
}

emf::Header readHeader(Bytes bytes) {
    if (bytes.size() < emf::kHeaderSize) {
        throw ProjectError("the file is too short for an enhanced metafile");
    }
    ByteReader cursor(bytes);
    emf::Header header;
    header.type = cursor.u32le();
    header.size = cursor.u32le();
    header.boundsLeft = cursor.i32le();
    header.boundsTop = cursor.i32le();
    header.boundsRight = cursor.i32le();
    header.boundsBottom = cursor.i32le();
    header.frameLeft = cursor.i32le();
    header.frameTop = cursor.i32le();
    header.frameRight = cursor.i32le();
    header.frameBottom = cursor.i32le();
    header.signature = cursor.u32le();
    header.version = cursor.u32le();
    header.bytes = cursor.u32le();
    header.records = cursor.u32le();
    header.handles = cursor.u16le();
    header.reserved = cursor.u16le();
    header.descriptionLength = cursor.u32le();
    header.descriptionOffset = cursor.u32le();
    header.paletteEntries = cursor.u32le();
    header.deviceWidth = cursor.i32le();
    header.deviceHeight = cursor.i32le();
    header.deviceWidthMm = cursor.i32le();
    header.deviceHeightMm = cursor.i32le();
    if (header.type != emf::kHeader || header.signature != emf::kSignature) {
        throw ProjectError("the file is not an enhanced metafile");
    }
    if (header.size < emf::kHeaderSize || header.size > bytes.size()) {
        damaged("the header's size is out of range");
    }
    return header;
}

// Where the picture lies in reference-device pixels.
struct Layout {
    PictureSize size;
    PointF origin;
};

Layout layoutOf(const emf::Header& header) {
    const bool frameUsable = header.deviceWidth > 0 && header.deviceHeight > 0 &&
                             header.deviceWidthMm > 0 && header.deviceHeightMm > 0 &&
                             header.frameRight > header.frameLeft &&
                             header.frameBottom > header.frameTop;
    if (frameUsable) {
        const double perUnitX = header.deviceWidth / (header.deviceWidthMm * 100.0);
        const double perUnitY = header.deviceHeight / (header.deviceHeightMm * 100.0);
        const double width = (double(header.frameRight) - header.frameLeft) * perUnitX;
        const double height = (double(header.frameBottom) - header.frameTop) * perUnitY;
        return {checkPictureSize(std::llround(std::min(width, 1e12)),
                                 std::llround(std::min(height, 1e12))),
                {std::round(header.frameLeft * perUnitX), std::round(header.frameTop * perUnitY)}};
    }
    return {checkPictureSize(std::int64_t{header.boundsRight} - header.boundsLeft + 1,
                             std::int64_t{header.boundsBottom} - header.boundsTop + 1),
            {double(header.boundsLeft), double(header.boundsTop)}};
}

PointF readPointl(ByteReader& cursor) {
    const double x = cursor.i32le();
    const double y = cursor.i32le();
    return {x, y};
}

PointF readPoints16(ByteReader& cursor) {
    const double x = cursor.i16le();
    const double y = cursor.i16le();
    return {x, y};
}

std::vector<PointF> readPoints(ByteReader& cursor, std::uint64_t count, bool small) {
    if (cursor.remaining() / (small ? 4 : 8) < count) {
        damaged("a record holds fewer points than it says");
    }
    std::vector<PointF> points(static_cast<std::size_t>(count));
    for (PointF& point : points) {
        point = small ? readPoints16(cursor) : readPointl(cursor);
    }
    return points;
}

Rgb readColour(ByteReader& cursor) {
    return toRgb(static_cast<Color>(cursor.u32le() & 0xffffff));
}

MetafileObject stockObject(std::uint32_t index) {
    using Kind = MetafileObject::Kind;
    const auto grey = [](std::uint8_t level) { return Rgb{level, level, level}; };
    switch (index) {
    case 0:
        return {Kind::Brush, grey(255), 0};
    case 1:
        return {Kind::Brush, grey(192), 0};
    case 2:
        return {Kind::Brush, grey(128), 0};
    case 3:
        return {Kind::Brush, grey(64), 0};
    case 4:
        return {Kind::Brush, grey(0), 0};
    case 5:
        return {Kind::Brush, std::nullopt, 0};
    case 6:
        return {Kind::Pen, grey(255), 0};
    case 7:
        return {Kind::Pen, grey(0), 0};
    case 8:
        return {Kind::Pen, std::nullopt, 0};
    default:
        return {}; // fonts and palettes
    }
}

// The source bitmap of a bitmap record, from offsets counted from the record's start.
std::optional<MetafileDib> sourceBitmap(Bytes record, std::uint32_t usage, std::uint32_t infoOffset,
                                        std::uint32_t infoSize, std::uint32_t bitsOffset,
                                        std::uint32_t bitsSize) {
    if (infoSize == 0 || usage == emf::kPaletteColourUsage) {
        return std::nullopt; // no source (a pattern fill), or colours from a palette
    }
    if (std::uint64_t{infoOffset} + infoSize > record.size() ||
        std::uint64_t{bitsOffset} + bitsSize > record.size()) {
        damaged("a bitmap lies outside its record");
    }
    return decodeMetafileDib(record.subspan(infoOffset, infoSize),
                             record.subspan(bitsOffset, bitsSize));
}

class EmfPlayer {
public:
    explicit EmfPlayer(const Layout& layout)
        : m_painter(layout.size.width, layout.size.height, initialMapping(layout)),
          m_origin(layout.origin) {}

    void play(std::uint32_t type, Bytes record) {
        ByteReader cursor(record, 8);
        switch (type) {
        case emf::kSetWindowExtEx:
            m_painter.mapping().windowExtent = readPointl(cursor);
            break;
        case emf::kSetWindowOrgEx:
            m_painter.mapping().windowOrigin = readPointl(cursor);
            break;
        case emf::kSetViewportExtEx:
            m_painter.mapping().viewportExtent = readPointl(cursor);
            break;
        case emf::kSetViewportOrgEx: {
            const PointF origin = readPointl(cursor);
            m_painter.mapping().viewportOrigin = {origin.x - m_origin.x, origin.y - m_origin.y};
            break;
        }
        case emf::kSetMapMode: {
            const std::uint32_t mode = cursor.u32le();
            m_painter.mapping().scaled = mode == emf::kIsotropic || mode == emf::kAnisotropic;
            break;
        }
        case emf::kSetPolyFillMode:
            m_painter.setFillRule(cursor.u32le() == 2 ? FillRule::NonZero : FillRule::EvenOdd);
            break;
        case emf::kSaveDc:
            m_painter.save();
            break;
        case emf::kRestoreDc:
            m_painter.restore(cursor.i32le());
            break;
        case emf::kCreatePen:
            createPen(cursor, false);
            break;
        case emf::kExtCreatePen:
            createPen(cursor, true);
            break;
        case emf::kCreateBrushIndirect:
            createBrush(cursor);
            break;
        case emf::kSelectObject: {
            const std::uint32_t index = cursor.u32le();
            if (index & emf::kStockObject) {
                m_painter.select(stockObject(index & ~emf::kStockObject));
            } else {
                m_painter.selectObject(index);
            }
            break;
        }
        case emf::kDeleteObject:
            m_painter.deleteObject(cursor.u32le());
            break;
        case emf::kMoveToEx:
            m_painter.moveTo(readPointl(cursor));
            break;
        case emf::kLineTo:
            m_painter.lineTo(readPointl(cursor));
            break;
        case emf::kRectangle:
        case emf::kEllipse: {
            const PointF topLeft = readPointl(cursor);
            const PointF bottomRight = readPointl(cursor);
            if (type == emf::kRectangle) {
                m_painter.rectangle(topLeft, bottomRight);
            } else {
                m_painter.ellipse(topLeft, bottomRight);
            }
            break;
        }
        case emf::kPolyline:
        case emf::kPolyline16:
        case emf::kPolygon:
        case emf::kPolygon16: {
            cursor.skip(16); // bounds
            const bool small = type == emf::kPolyline16 || type == emf::kPolygon16;
            const std::vector<PointF> points = readPoints(cursor, cursor.u32le(), small);
            if (type == emf::kPolyline || type == emf::kPolyline16) {
                m_painter.polyline(points);
            } else {
                m_painter.polygons({points});
            }
            break;
        }
        case emf::kPolyPolygon:
        case emf::kPolyPolygon16:
            polyPolygon(cursor, type == emf::kPolyPolygon16);
            break;
        case emf::kStretchDiBits:
        case emf::kSetDiBitsToDevice:
            dibBits(type, record, cursor);
            break;
        case emf::kBitBlt:
        case emf::kStretchBlt:
            blit(type, record, cursor);
            break;
        default:
            break; // not drawn
        }
    }

    Bitmap takePicture() { return m_painter.takePicture(); }

private:
    static MetafileMapping initialMapping(const Layout& layout) {
        MetafileMapping mapping;
        mapping.scaled = false; // the one-to-one mapping mode until the records set another
        mapping.viewportOrigin = {-layout.origin.x, -layout.origin.y};
        return mapping;
    }

    void createPen(ByteReader& cursor, bool extended) {
        const std::uint32_t index = cursor.u32le();
        if (extended) {
            cursor.skip(16); // pattern bitmap offsets and sizes
        }
        const std::uint32_t style = cursor.u32le();
        const double width = extended ? double(cursor.u32le()) : readPointl(cursor).x;
        if (extended) {
            cursor.skip(4); // brush style
        }
        const Rgb colour = readColour(cursor);
        if ((style & 0x0f) == emf::kNullPenStyle) {
            m_painter.putObject(index, {MetafileObject::Kind::Pen, std::nullopt, 0});
        } else {
            m_painter.putObject(index, {MetafileObject::Kind::Pen, colour, width});
        }
    }

    void createBrush(ByteReader& cursor) {
        const std::uint32_t index = cursor.u32le();
        const std::uint32_t style = cursor.u32le();
        const Rgb colour = readColour(cursor);
        m_painter.putObject(
            index, {MetafileObject::Kind::Brush,
                    style == emf::kSolidBrushStyle ? std::optional(colour) : std::nullopt, 0});
    }

    void polyPolygon(ByteReader& cursor, bool small) {
        cursor.skip(16); // bounds
        const std::uint32_t count = cursor.u32le();
        cursor.skip(4); // total number of points
        if (cursor.remaining() / 4 < count) {
            damaged("a record holds fewer polygons than it says");
        }
        std::vector<std::uint32_t> sizes(count);
        for (std::uint32_t& size : sizes) {
            size = cursor.u32le();
        }
        std::vector<std::vector<PointF>> rings;
        for (const std::uint32_t size : sizes) {
            rings.push_back(readPoints(cursor, size, small));
        }
        m_painter.polygons(rings);
    }

    void dibBits(std::uint32_t type, Bytes record, ByteReader& cursor) {
        cursor.skip(16); // bounds
        const PointF topLeft = readPointl(cursor);
        const std::int64_t sourceX = cursor.i32le();
        const std::int64_t sourceY = cursor.i32le();
        const std::int64_t sourceWidth = cursor.i32le();
        const std::int64_t sourceHeight = cursor.i32le();
        const std::uint32_t infoOffset = cursor.u32le();
        const std::uint32_t infoSize = cursor.u32le();
        const std::uint32_t bitsOffset = cursor.u32le();
        const std::uint32_t bitsSize = cursor.u32le();
        const std::uint32_t usage = cursor.u32le();
        PointF extent{double(sourceWidth), double(sourceHeight)};
        auto unit = MetafilePainter::Extent::Pixels;
        if (type == emf::kStretchDiBits) {
            cursor.skip(4); // raster operation: every one is drawn as a copy
            extent = readPointl(cursor);
            unit = MetafilePainter::Extent::Logical;
        }
        // (SetDIBitsToDevice's first scan and scan count are taken to cover the bitmap.)
        if (const auto dib =
                sourceBitmap(record, usage, infoOffset, infoSize, bitsOffset, bitsSize)) {
            m_painter.picture(*dib, sourceX, sourceY, sourceWidth, sourceHeight, topLeft, extent,
                              unit);
        }
    }

    void blit(std::uint32_t type, Bytes record, ByteReader& cursor) {
        cursor.skip(16); // bounds
        const PointF topLeft = readPointl(cursor);
        const PointF extent = readPointl(cursor);
        cursor.skip(4); // raster operation
        const std::int64_t sourceX = cursor.i32le();
        const std::int64_t sourceY = cursor.i32le();
        cursor.skip(24 + 4); // source transform and background colour
        const std::uint32_t usage = cursor.u32le();
        const std::uint32_t infoOffset = cursor.u32le();
        const std::uint32_t infoSize = cursor.u32le();
        const std::uint32_t bitsOffset = cursor.u32le();
        const std::uint32_t bitsSize = cursor.u32le();
        std::int64_t sourceWidth = static_cast<std::int64_t>(extent.x);
        std::int64_t sourceHeight = static_cast<std::int64_t>(extent.y);
        if (type == emf::kStretchBlt) {
            sourceWidth = cursor.i32le();
            sourceHeight = cursor.i32le();
        }
        if (const auto dib =
                sourceBitmap(record, usage, infoOffset, infoSize, bitsOffset, bitsSize)) {
            m_painter.picture(*dib, sourceX, sourceY, sourceWidth, sourceHeight, topLeft, extent);
        }
    }

    MetafilePainter m_painter;
    PointF m_origin;
};

// Calls the visitor with every record's type and bytes up to the end-of-file record.
template <typename Visitor>
void forEachRecord(Bytes bytes, const emf::Header& header, Visitor visit) {
    ByteReader cursor(bytes, header.size);
    while (!cursor.atEnd()) {
        const std::size_t start = cursor.position();
        const std::uint32_t type = cursor.u32le();
        const std::uint32_t size = cursor.u32le();
        if (size < 8 || size - 8 > cursor.remaining()) {
            damaged("a record's size runs past the end of the file");
        }
        cursor.skip(size - 8);
        if (type == emf::kEof) {
            return;
        }
        visit(type, bytes.subspan(start, size));
    }
}

} // namespace

bool looksLikeEmf(Bytes bytes) {
    if (bytes.size() < emf::kHeaderSize) {
        return false;
    }
    ByteReader cursor(bytes);
    const std::uint32_t type = cursor.u32le();
    cursor.seek(40);
    return type == emf::kHeader && cursor.u32le() == emf::kSignature;
}

PictureSize probeEmf(Bytes bytes) {
    return layoutOf(readHeader(bytes)).size;
}

Bitmap playEmf(Bytes bytes) {
    const emf::Header header = readHeader(bytes);
    // A file whose records do not fit together fails before any drawing is done.
    forEachRecord(bytes, header, [](std::uint32_t, Bytes) {});
    EmfPlayer player(layoutOf(header));
    forEachRecord(bytes, header,
                  [&player](std::uint32_t type, Bytes record) { player.play(type, record); });
    return player.takePicture();
}

} // namespace vellumar
