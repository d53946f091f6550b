#pragma once

#include <cstdint>
#include <jpeglib.h>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar::testing {

struct DecodedJpeg {
    bool jfif = false;
    bool progressive = false;
    int lumaQuantizer = 0; // first entry of table 0; 3 at quality 90
    Bitmap picture;
};

// Decodes with libjpeg itself, so tests do not trust our own reader.
inline DecodedJpeg decodeWithLibjpeg(const std::vector<std::uint8_t>& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    DecodedJpeg result;
    result.jfif = info.saw_JFIF_marker;
    result.progressive = info.progressive_mode;
    result.lumaQuantizer = info.quant_tbl_ptrs[0]->quantval[0];
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    result.picture =
        Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result.picture.row(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return result;
}

} // namespace vellumar::testing
