#include "heif_canvas.h"

#include <algorithm>
#include <map>
#include <optional>

#include "project_error.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace {

constexpr std::uint32_t fourcc(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// A grid's descriptor is at most 12 bytes, an overlay's canvas ends within 18.
constexpr std::size_t kDescriptorPrefix = 18;

struct Box {
    std::uint32_t type = 0;
    Bytes payload;
};

// The box at the reader's position, which moves past it. A size of 0 runs to the end of the
// enclosing data, a size of 1 is followed by a 64-bit size.
Box nextBox(ByteReader& reader) {
    const std::size_t start = reader.position();
    std::uint64_t size = reader.u32be();
    const std::uint32_t type = reader.u32be();
    if (size == 1) {
        size = static_cast<std::uint64_t>(reader.u32be()) << 32;
        size |= reader.u32be();
    } else if (size == 0) {
        size = reader.size() - start;
    }
    const std::size_t header = reader.position() - start;
    if (size < header) {
        throw ProjectError("the HEIF file has a box shorter than its header at offset " +
                           std::to_string(start));
    }
    return {type, reader.take(size - header)};
}

std::vector<Box> childBoxes(Bytes payload) {
    std::vector<Box> boxes;
    ByteReader reader(payload);
    while (!reader.atEnd()) {
        boxes.push_back(nextBox(reader));
    }
    return boxes;
}

// Reads a full box's version and moves past its flags.
std::uint8_t fullBoxVersion(ByteReader& reader, std::uint32_t* flags = nullptr) {
    const std::uint8_t version = reader.u8();
    const std::uint32_t high = reader.u8();
    const std::uint32_t low = reader.u16be();
    if (flags != nullptr) {
        *flags = high << 16 | low;
    }
    return version;
}

// An unsigned big-endian field of 0 to 8 bytes, as the item locations size theirs.
std::uint64_t sizedField(ByteReader& reader, unsigned bytes) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) {
        value = value << 8 | reader.u8();
    }
    return value;
}

struct MetaBoxes {
    Bytes iinf;
    Bytes iloc;
    Bytes idat;
    Bytes ipco;
    std::vector<Bytes> ipma;
};

std::optional<MetaBoxes> findMetaBoxes(Bytes file) {
    ByteReader reader(file);
    while (!reader.atEnd()) {
        const Box box = nextBox(reader);
        if (box.type != fourcc("meta")) {
            continue;
        }
        ByteReader meta(box.payload);
        fullBoxVersion(meta);
        MetaBoxes found;
        for (const Box& child : childBoxes(meta.rest())) {
            if (child.type == fourcc("iinf")) {
                found.iinf = child.payload;
            } else if (child.type == fourcc("iloc")) {
                found.iloc = child.payload;
            } else if (child.type == fourcc("idat")) {
                found.idat = child.payload;
            } else if (child.type == fourcc("iprp")) {
                for (const Box& property : childBoxes(child.payload)) {
                    if (property.type == fourcc("ipco")) {
                        found.ipco = property.payload;
                    } else if (property.type == fourcc("ipma")) {
                        found.ipma.push_back(property.payload);
                    }
                }
            }
        }
        return found;
    }
    return std::nullopt;
}

// The items that are put together from others: grids and overlays.
std::map<std::uint32_t, std::uint32_t> derivedItemTypes(Bytes iinf) {
    std::map<std::uint32_t, std::uint32_t> derived;
    if (iinf.empty()) {
        return derived;
    }
    ByteReader reader(iinf);
    reader.skip(fullBoxVersion(reader) == 0 ? 2 : 4); // the entry count; the boxes say it too
    for (const Box& box : childBoxes(reader.rest())) {
        if (box.type != fourcc("infe")) {
            continue;
        }
        ByteReader entry(box.payload);
        const std::uint8_t version = fullBoxVersion(entry);
        if (version < 2) {
            continue; // entries before version 2 carry no item type
        }
        const std::uint32_t item = version == 2 ? entry.u16be() : entry.u32be();
        entry.skip(2); // protection index
        const std::uint32_t type = entry.u32be();
        if (type == fourcc("grid") || type == fourcc("iovl")) {
            derived[item] = type;
        }
    }
    return derived;
}

std::map<std::uint32_t, HeifItemSize> declaredSizes(const MetaBoxes& boxes) {
    std::map<std::uint32_t, HeifItemSize> sizes;
    const std::vector<Box> properties = childBoxes(boxes.ipco);
    for (const Bytes ipma : boxes.ipma) {
        ByteReader reader(ipma);
        std::uint32_t flags = 0;
        const std::uint8_t version = fullBoxVersion(reader, &flags);
        const std::uint32_t entries = reader.u32be();
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint32_t item = version < 1 ? reader.u16be() : reader.u32be();
            const std::uint8_t associations = reader.u8();
            for (std::uint8_t j = 0; j < associations; ++j) {
                // The top bit marks the property essential; the rest is its 1-based index.
                const std::size_t index =
                    (flags & 1) != 0 ? reader.u16be() & 0x7fff : reader.u8() & 0x7f;
                if (index == 0 || index > properties.size() ||
                    properties[index - 1].type != fourcc("ispe")) {
                    continue;
                }
                ByteReader ispe(properties[index - 1].payload);
                fullBoxVersion(ispe);
                const std::uint32_t width = ispe.u32be();
                sizes[item] = {width, ispe.u32be()};
            }
        }
    }
    return sizes;
}

struct Extent {
    std::uint64_t offset = 0;
    std::uint64_t length = 0; // 0: to the end of the data
};

struct ItemLocation {
    unsigned constructionMethod = 0; // 0: offsets into the file, 1: into the idat box
    std::uint64_t baseOffset = 0;
    std::vector<Extent> extents;
};

std::map<std::uint32_t, ItemLocation>
locationsOf(Bytes iloc, const std::map<std::uint32_t, std::uint32_t>& wanted) {
    std::map<std::uint32_t, ItemLocation> locations;
    ByteReader reader(iloc);
    const std::uint8_t version = fullBoxVersion(reader);
    const std::uint8_t sizes = reader.u8();
    const unsigned offsetSize = sizes >> 4;
    const unsigned lengthSize = sizes & 15;
    const std::uint8_t moreSizes = reader.u8();
    const unsigned baseOffsetSize = moreSizes >> 4;
    const unsigned indexSize = version >= 1 ? moreSizes & 15 : 0;
    const std::uint32_t items = version < 2 ? reader.u16be() : reader.u32be();
    for (std::uint32_t i = 0; i < items; ++i) {
        ItemLocation location;
        const std::uint32_t item = version < 2 ? reader.u16be() : reader.u32be();
        if (version >= 1) {
            location.constructionMethod = reader.u16be() & 15;
        }
        reader.skip(2); // data reference index
        location.baseOffset = sizedField(reader, baseOffsetSize);
        const std::uint16_t extents = reader.u16be();
        for (std::uint16_t j = 0; j < extents; ++j) {
            sizedField(reader, indexSize);
            Extent extent;
            extent.offset = sizedField(reader, offsetSize);
            extent.length = sizedField(reader, lengthSize);
            if (wanted.contains(item)) {
                location.extents.push_back(extent);
            }
        }
        if (wanted.contains(item)) {
            locations[item] = std::move(location);
        }
    }
    return locations;
}

// The first bytes of an item's data, up to count; empty where the data lies in another item.
std::vector<std::uint8_t> itemPrefix(const ItemLocation& location, Bytes file, Bytes idat,
                                     std::size_t count) {
    std::vector<std::uint8_t> prefix;
    if (location.constructionMethod > 1) {
        return prefix;
    }
    const bool inFile = location.constructionMethod == 0;
    const Bytes source = inFile ? file : idat;
    for (const Extent& extent : location.extents) {
        if (prefix.size() == count) {
            break;
        }
        const std::uint64_t start = location.baseOffset + extent.offset;
        if (extent.offset > UINT64_MAX - location.baseOffset || start > source.size() ||
            extent.length > source.size() - start) {
            throw ProjectError(
                std::string("the HEIF file places a picture's data past the end of ") +
                (inFile ? "the file" : "its item data box"));
        }
        const std::uint64_t length = extent.length == 0 ? source.size() - start : extent.length;
        const std::size_t taken = std::min<std::size_t>(length, count - prefix.size());
        prefix.insert(prefix.end(), source.begin() + start, source.begin() + start + taken);
    }
    return prefix;
}

// The canvas a grid's or overlay's descriptor gives, if libheif would read it.
std::optional<HeifItemSize> canvasOf(std::uint32_t type, const std::vector<std::uint8_t>& data) {
    if (data.size() < 2 || data[0] != 0) {
        return std::nullopt;
    }
    const unsigned fieldBytes = (data[1] & 1) != 0 ? 4 : 2;
    // A grid has its row and column counts before the canvas, an overlay its fill colour.
    const std::size_t canvasAt = type == fourcc("grid") ? 4 : 10;
    if (data.size() < canvasAt + 2 * fieldBytes) {
        return std::nullopt;
    }
    ByteReader reader(data, canvasAt);
    const auto width = static_cast<std::uint32_t>(sizedField(reader, fieldBytes));
    return HeifItemSize{width, static_cast<std::uint32_t>(sizedField(reader, fieldBytes))};
}

} // namespace

std::vector<HeifCanvas> heifCanvases(Bytes file) {
    std::vector<HeifCanvas> canvases;
    const std::optional<MetaBoxes> boxes = findMetaBoxes(file);
    if (!boxes) {
        return canvases;
    }
    const std::map<std::uint32_t, std::uint32_t> derived = derivedItemTypes(boxes->iinf);
    if (derived.empty() || boxes->iloc.empty()) {
        return canvases;
    }
    const std::map<std::uint32_t, HeifItemSize> declared = declaredSizes(*boxes);
    for (const auto& [item, location] : locationsOf(boxes->iloc, derived)) {
        const std::uint32_t type = derived.at(item);
        const std::optional<HeifItemSize> canvas =
            canvasOf(type, itemPrefix(location, file, boxes->idat, kDescriptorPrefix));
        if (canvas) {
            const auto size = declared.find(item);
            canvases.push_back(
                {item, *canvas, size == declared.end() ? HeifItemSize{} : size->second});
        }
    }
    return canvases;
}

} // namespace vellumar
