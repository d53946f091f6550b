#include "sgi_reader.h"

#include <string>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/colour_math.h"

namespace vellumar {

namespace {

namespace sgi {

// The 512-byte header at the start of every file (big-endian).
struct Header {
    std::uint16_t magic = 0;          // always 474
    std::uint8_t storage = 0;         // 0 verbatim, 1 run-length encoded
    std::uint8_t bytesPerChannel = 0; // 1 or 2
    std::uint16_t dimension = 0;      // 1 a single row, 2 one channel, 3 several channels
    std::uint16_t xSize = 0;          // pixels a row
    std::uint16_t ySize = 0;          // rows
    std::uint16_t zSize = 0;          // channels
    std::int32_t pixMin = 0;          // smallest pixel value, unused here
    std::int32_t pixMax = 0;          // largest pixel value, unused here
    // 4 unused bytes and an 80-byte picture name follow.
    std::int32_t colourMap = 0; // 0 for plain pixels; the obsolete dithered kinds are refused
    // 404 unused bytes complete the 512.
};

constexpr std::uint16_t kMagic = 474;
constexpr std::size_t kHeaderSize = 512;

} // namespace sgi

sgi::Header readHeader(ByteReader& in) {
    sgi::Header h;
    h.magic = in.u16be();
    h.storage = in.u8();
    h.bytesPerChannel = in.u8();
    h.dimension = in.u16be();
    h.xSize = in.u16be();
    h.ySize = in.u16be();
    h.zSize = in.u16be();
    h.pixMin = in.i32be();
    h.pixMax = in.i32be();
    in.skip(4 + 80);
    h.colourMap = in.i32be();
    in.seek(sgi::kHeaderSize);
    return h;
}

PictureSize checkHeader(const sgi::Header& h) {
    if (h.magic != sgi::kMagic) {
        throw ProjectError("the file is not an SGI picture");
    }
    if (h.storage > 1) {
        throw ProjectError("the SGI storage kind " + std::to_string(h.storage) +
                           " is not supported");
    }
    if (h.bytesPerChannel != 1 && h.bytesPerChannel != 2) {
        throw ProjectError("SGI pictures of " + std::to_string(h.bytesPerChannel) +
                           " bytes a channel are not supported");
    }
    if (h.dimension < 1 || h.dimension > 3) {
        throw ProjectError("the SGI dimension " + std::to_string(h.dimension) + " is not valid");
    }
    if (h.colourMap != 0) {
        throw ProjectError("SGI pictures with colour map kind " + std::to_string(h.colourMap) +
                           " are not supported");
    }
    if (h.dimension == 3 && (h.zSize < 1 || h.zSize > 4)) {
        throw ProjectError("SGI pictures of " + std::to_string(h.zSize) +
                           " channels are not supported");
    }
    return checkPictureSize(h.xSize, h.dimension == 1 ? 1 : h.ySize);
}

int channelsOf(const sgi::Header& h) {
    return h.dimension == 3 ? h.zSize : 1;
}

// Reads one row of one channel, widening 16-bit values to 8 bits.
class RowReader {
public:
    RowReader(Bytes file, const sgi::Header& h, int width, int height)
        : m_file(file), m_unit(h.bytesPerChannel), m_width(width), m_height(height),
          m_runLength(h.storage == 1) {
        if (m_runLength) {
            readRowTables(channelsOf(h));
        } else {
            const std::uint64_t needed = static_cast<std::uint64_t>(width) * height *
                                         static_cast<std::uint64_t>(channelsOf(h)) * m_unit;
            if (file.size() - sgi::kHeaderSize < needed) {
                throw ProjectError("the file is truncated");
            }
        }
    }

    void read(int channel, int storedRow, std::vector<std::uint8_t>& out) const {
        const std::size_t index = static_cast<std::size_t>(channel) * m_height + storedRow;
        if (!m_runLength) {
            const std::uint64_t rowBytes = static_cast<std::uint64_t>(m_width) * m_unit;
            ByteReader in(m_file);
            in.seek(sgi::kHeaderSize + index * rowBytes);
            for (int x = 0; x < m_width; ++x) {
                out[static_cast<std::size_t>(x)] = unit(in);
            }
            return;
        }
        ByteReader in(m_file.subspan(m_offsets[index], m_lengths[index]));
        int x = 0;
        while (x < m_width) {
            const unsigned code = m_unit == 1 ? in.u8() : in.u16be();
            const int count = static_cast<int>(code & 0x7F);
            if (count == 0) {
                break;
            }
            if (count > m_width - x) {
                throw ProjectError("an SGI row holds more pixels than the picture is wide");
            }
            if (code & 0x80) {
                for (int i = 0; i < count; ++i) {
                    out[static_cast<std::size_t>(x++)] = unit(in);
                }
            } else {
                const std::uint8_t value = unit(in);
                for (int i = 0; i < count; ++i) {
                    out[static_cast<std::size_t>(x++)] = value;
                }
            }
        }
        if (x < m_width) {
            throw ProjectError("an SGI row holds fewer pixels than the picture is wide");
        }
    }

private:
    // The run-length tables give every row's offset and length; each must lie in the file.
    void readRowTables(int channels) {
        const std::size_t rows = static_cast<std::size_t>(m_height) * channels;
        ByteReader in(m_file);
        in.seek(sgi::kHeaderSize);
        if (in.remaining() / 8 < rows) {
            throw ProjectError("the file is truncated");
        }
        m_offsets.resize(rows);
        m_lengths.resize(rows);
        for (auto& offset : m_offsets) {
            offset = in.u32be();
        }
        for (auto& length : m_lengths) {
            length = in.u32be();
        }
        for (std::size_t i = 0; i < rows; ++i) {
            if (m_offsets[i] > m_file.size() || m_lengths[i] > m_file.size() - m_offsets[i]) {
                throw ProjectError("an SGI row table entry points beyond the end of the file");
            }
        }
    }

    std::uint8_t unit(ByteReader& in) const {
        return m_unit == 1 ? in.u8() : scaleToByte(in.u16be(), 16);
    }

    Bytes m_file;
    int m_unit;
    int m_width;
    int m_height;
    bool m_runLength;
    std::vector<std::uint32_t> m_offsets;
    std::vector<std::uint32_t> m_lengths;
};

} // namespace

bool SgiReader::sniff(Bytes bytes) const {
    return bytes.size() >= 4 && bytes[0] == 0x01 && bytes[1] == 0xDA && bytes[2] <= 1 &&
           (bytes[3] == 1 || bytes[3] == 2);
}

PictureSize SgiReader::probe(const PictureSource& source) const {
    ByteReader in(source.bytes);
    return checkHeader(readHeader(in));
}

Bitmap SgiReader::decode(const PictureSource& source) const {
    ByteReader in(source.bytes);
    const sgi::Header h = readHeader(in);
    const PictureSize size = checkHeader(h);
    const int channels = channelsOf(h);
    const RowReader rows(source.bytes, h, size.width, size.height);

    Bitmap bitmap(size.width, size.height);
    std::vector<std::vector<std::uint8_t>> values(static_cast<std::size_t>(channels),
                                                  std::vector<std::uint8_t>(size.width));
    for (int stored = 0; stored < size.height; ++stored) {
        for (int c = 0; c < channels; ++c) {
            rows.read(c, stored, values[static_cast<std::size_t>(c)]);
        }
        std::uint8_t* row = bitmap.row(size.height - 1 - stored);
        for (std::size_t x = 0; x < static_cast<std::size_t>(size.width); ++x) {
            Rgb colour = channels >= 3 ? Rgb{values[0][x], values[1][x], values[2][x]}
                                       : Rgb{values[0][x], values[0][x], values[0][x]};
            if (channels == 2 || channels == 4) {
                colour = overWhite(colour, values[static_cast<std::size_t>(channels) - 1][x]);
            }
            row[x * 3] = colour.r;
            row[x * 3 + 1] = colour.g;
            row[x * 3 + 2] = colour.b;
        }
    }
    return bitmap;
}

} // namespace vellumar
