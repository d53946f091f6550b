#include "jpeg_reader.h"

#include <algorithm>
#include <jerror.h>
#include <optional>
#include <string>
#include <vector>

#include "colour/colour_conversion.h"
#include "imaging/jpeg_error.h"
#include "project_error.h"
#include "readers/jpeg_colour.h"

namespace vellumar {

namespace {

// How far the picture data reached, in rows of the full-size picture (so that the message
// is the same whatever reduction the decode asked for); a progressive picture's data holds
// the whole picture once in each of its scans.
std::string extentRead(const jpeg_decompress_struct& info) {
    if (info.image_height == 0) {
        return ""; // the data ended within the header
    }
    const auto rowsPerIMcuRow = static_cast<unsigned long>(info.max_v_samp_factor) * DCTSIZE;
    const unsigned long rows =
        std::min<unsigned long>(info.input_iMCU_row * rowsPerIMcuRow, info.image_height);
    const std::string scan = std::to_string(info.input_scan_number);
    if (info.progressive_mode && rows == info.image_height) {
        return " (the picture data ends after " + scan + " whole scans)";
    }
    std::string extent = " (the picture data ends after " + std::to_string(rows) + " of its " +
                         std::to_string(info.image_height) + " rows";
    if (info.progressive_mode) {
        extent += " in scan " + scan;
    }
    return extent + ")";
}

// libjpeg only warns when the data ends early and makes up the rest of the picture; a
// truncated file is reported rather than shown half grey, with how much of it was there.
void failOnPrematureEnd(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        char text[JMSG_LENGTH_MAX] = {};
        info->err->format_message(info, text);
        throw JpegError(info->err->msg_code,
                        text + extentRead(*reinterpret_cast<j_decompress_ptr>(info)));
    }
}

class Decompressor {
public:
    Decompressor() {
        m_errors.emit_message = failOnPrematureEnd;
        m_info.err = &m_errors;
        jpeg_create_decompress(&m_info);
    }
    ~Decompressor() { jpeg_destroy_decompress(&m_info); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& info() { return m_info; }

    void readHeader(Bytes bytes) {
        jpeg_mem_src(&m_info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&m_info, TRUE);
    }

    PictureSize size() const { return checkPictureSize(m_info.image_width, m_info.image_height); }

private:
    JpegErrorManager m_errors;
    jpeg_decompress_struct m_info{};
};

// A picture that cannot be read is explained in libjpeg's own words: its message number
// alone tells the user nothing.
template <typename Action>
auto withLibraryText(Action action) {
    try {
        return action();
    } catch (const JpegError& error) {
        throw ProjectError(error.libraryText());
    }
}

// The memory source never suspends, so a read that returns nothing would loop for ever.
void requireProgress(JDIMENSION rowsRead) {
    if (rowsRead == 0) {
        throw ProjectError("the JPEG data ends early");
    }
}

void readRgbRows(jpeg_decompress_struct& info, Bitmap& bitmap) {
    std::vector<JSAMPROW> rows(info.output_height);
    for (JDIMENSION y = 0; y < info.output_height; ++y) {
        rows[y] = bitmap.row(static_cast<int>(y));
    }
    while (info.output_scanline < info.output_height) {
        requireProgress(jpeg_read_scanlines(&info, rows.data() + info.output_scanline,
                                            info.output_height - info.output_scanline));
    }
}

// Adobe applications store CMYK inverted (0 means full ink) and flag it with their marker;
// without the marker the samples are taken as plain ink amounts.
void readCmykRows(jpeg_decompress_struct& info, Bitmap& bitmap,
                  const std::optional<ColourConverter>& converter) {
    std::vector<JSAMPLE> cmyk(static_cast<std::size_t>(info.output_width) * 4);
    JSAMPROW cmykRow = cmyk.data();
    const int invert = info.saw_Adobe_marker ? 0 : 255;
    while (info.output_scanline < info.output_height) {
        std::uint8_t* out = bitmap.row(static_cast<int>(info.output_scanline));
        requireProgress(jpeg_read_scanlines(&info, &cmykRow, 1));
        if (converter) {
            converter->convert(cmyk.data(), out, info.output_width);
            continue;
        }
        for (std::size_t i = 0; i < cmyk.size(); i += 4) {
            const int k = cmyk[i + 3] ^ invert;
            for (int c = 0; c < 3; ++c) {
                *out++ = static_cast<std::uint8_t>(((cmyk[i + c] ^ invert) * k + 127) / 255);
            }
        }
    }
}

// The conversion of the picture's CMYK: through its own profile, else through the press
// profile; nothing (plain ink arithmetic) when the system has no press profile either.
std::optional<ColourConverter> cmykConverter(const jpeg_decompress_struct& info,
                                             const ColourDescription& colour, ColourSpace space) {
    const SampleLayout layout =
        info.saw_Adobe_marker ? SampleLayout::InvertedCmyk8 : SampleLayout::Cmyk8;
    if (auto own = ColourConverter::make(colour, layout, space)) {
        return own;
    }
    return ColourConverter::make(ColourDescription::pressCmyk(), layout, space);
}

bool holdsCmyk(J_COLOR_SPACE space) {
    return space == JCS_CMYK || space == JCS_YCCK;
}

} // namespace

bool JpegReader::sniff(Bytes bytes) const {
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

PictureSize JpegReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a JPEG file");
    }
    return withLibraryText([&] {
        Decompressor decompressor;
        decompressor.readHeader(source.bytes);
        return decompressor.size();
    });
}

Bitmap JpegReader::decode(const PictureSource& source) const {
    return decodeReduced(source, 1);
}

ColourDescription JpegReader::colour(const PictureSource& source) const {
    return jpegColour(source.bytes);
}

bool JpegReader::convertsColour(const PictureSource& source) const {
    try {
        return withLibraryText([&] {
            Decompressor decompressor;
            decompressor.readHeader(source.bytes);
            return holdsCmyk(decompressor.info().jpeg_color_space);
        });
    } catch (const ProjectError&) {
        return false; // decode says what is wrong
    }
}

Bitmap JpegReader::decodeReduced(const PictureSource& source, int reduction) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a JPEG file");
    }
    return withLibraryText([&] {
        Decompressor decompressor;
        decompressor.readHeader(source.bytes);
        jpeg_decompress_struct& info = decompressor.info();
        decompressor.size(); // checked at full size, before anything is allocated
        const bool cmyk = holdsCmyk(info.jpeg_color_space);
        info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
        info.scale_num = 1;
        info.scale_denom = static_cast<unsigned>(reduction);
        info.quantize_colors = FALSE;
        info.do_block_smoothing = TRUE;
        jpeg_start_decompress(&info);

        Bitmap bitmap = Bitmap::uninitialized(static_cast<int>(info.output_width),
                                              static_cast<int>(info.output_height));
        if (cmyk) {
            readCmykRows(info, bitmap, cmykConverter(info, colour(source), source.colourSpace));
        } else {
            readRgbRows(info, bitmap);
        }
        // The end of the data is not read: a picture that is whole but lacks its closing
        // marker still loads.
        return bitmap;
    });
}

} // namespace vellumar
