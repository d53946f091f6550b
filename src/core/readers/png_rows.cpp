#include "png_rows.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/png_glue.h"

namespace vellumar {

namespace {

constexpr int kGreyAlpha = 4;
constexpr int kRgbAlpha = 6;
constexpr int kAdam7Passes = 7;

// What the chunks ahead of the picture data say.
struct PngHeader {
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    bool transparencyChunk = false;
};

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Walks the chunks from the header to the first IDAT; a damaged chain just ends the walk,
// the decode reports it.
PngHeader headerOf(Bytes bytes) {
    PngHeader header;
    constexpr std::size_t kFirstChunk = 8;
    if (bytes.size() < kFirstChunk + 8 + 13 ||
        std::memcmp(bytes.data() + kFirstChunk + 4, "IHDR", 4) != 0) {
        return header;
    }
    const std::uint8_t* ihdr = bytes.data() + kFirstChunk + 8;
    header.bitDepth = ihdr[8];
    header.colourType = ihdr[9];
    header.interlace = ihdr[12];
    std::size_t position = kFirstChunk;
    while (bytes.size() - position >= 8) {
        const std::uint32_t length = bigEndian32(bytes.data() + position);
        const auto* type = reinterpret_cast<const char*>(bytes.data() + position + 4);
        if (std::memcmp(type, "IDAT", 4) == 0) {
            break;
        }
        header.transparencyChunk |= std::memcmp(type, "tRNS", 4) == 0;
        if (length > bytes.size() - position - 8) {
            break;
        }
        position += 8 + static_cast<std::size_t>(length) + 4; // length, type, data, CRC
        if (position > bytes.size()) {
            break;
        }
    }
    return header;
}

// The transformations, in the order libpng's simplified reading sets them for 8-bit RGBA
// output: expand palettes, small depths and tRNS to RGBA, take the file as sRGB unless its
// gAMA or sRGB chunk says otherwise, scale 16-bit samples down, and correct to sRGB.
void requestRgba(png_structp png, png_infop info) {
    png_set_expand(png);
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    if (png_get_bit_depth(png, info) == 16) {
        png_set_scale_16(png);
    }
    png_set_alpha_mode_fixed(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    // Opaque pictures get an opaque alpha, so every row has the same layout.
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) == 0 &&
        png_get_valid(png, info, PNG_INFO_tRNS) == 0) {
        png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    }
}

// Every transformation works on single pixels, so the reduced rows of an interlaced picture
// come out as its finished pixels would: each is laid onto white where it belongs, and
// nothing needs to be kept from one pass to the next.
void readPass(png_structp png, const PngPass& pass, Bitmap& bitmap, std::uint8_t* row) {
    if (pass.columns == 0 || pass.rows == 0) {
        return; // libpng skips empty passes as well
    }
    for (int r = 0; r < pass.rows; ++r) {
        png_read_row(png, row, nullptr);
        std::uint8_t* out =
            bitmap.row(pass.firstY + r * pass.stepY) + static_cast<std::size_t>(pass.firstX) * 3;
        rgbaRowOntoWhite(row, pass.columns, out, pass.stepX);
    }
}

// libpng's errors jump back into this frame, which therefore holds nothing that needs its
// destructor run.
bool readRows(png_structp png, png_infop info, Bitmap& bitmap, std::uint8_t* row,
              PngFailure& failure) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    // Benign errors only warn, as in the simplified reading.
    png_set_benign_errors(png, 1);
    png_read_info(png, info);
    requestRgba(png, info);
    png_read_update_info(png, info);
    if (png_get_image_width(png, info) != static_cast<png_uint_32>(bitmap.width()) ||
        png_get_image_height(png, info) != static_cast<png_uint_32>(bitmap.height()) ||
        png_get_rowbytes(png, info) != static_cast<std::size_t>(bitmap.width()) * 4) {
        std::snprintf(failure.message, sizeof failure.message, "unexpected row layout");
        return false;
    }
    if (png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        readPass(png, {0, 1, 0, 1, bitmap.width(), bitmap.height()}, bitmap, row);
        return true;
    }
    for (int pass = 0; pass < kAdam7Passes; ++pass) {
        readPass(png, adam7Pass(pass, bitmap.width(), bitmap.height()), bitmap, row);
    }
    return true;
}

} // namespace

bool pngReadsByRows(Bytes bytes) {
    const PngHeader header = headerOf(bytes);
    const bool transparent = header.colourType == kGreyAlpha || header.colourType == kRgbAlpha ||
                             header.transparencyChunk;
    return transparent || (header.bitDepth == 16 && header.interlace != 0);
}

void readPngRowsOntoWhite(Bytes bytes, Bitmap& bitmap) {
    PngFailure failure;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, onPngError, onPngWarning);
    if (!png) {
        throw ProjectError("the PNG data cannot be decoded: not enough memory");
    }
    png_infop info = png_create_info_struct(png);
    PngMemoryInput input{bytes};
    png_set_read_fn(png, &input, readPngFromMemory);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width()) * 4);
    const bool read = info && readRows(png, info, bitmap, row.data(), failure);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read) {
        throw ProjectError(std::string("the PNG data cannot be decoded: ") + failure.message);
    }
}

} // namespace vellumar
