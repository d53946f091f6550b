#include "png_rows.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"

namespace vellumar {

namespace {

constexpr int kGreyAlpha = 4;
constexpr int kRgbAlpha = 6;

// What the chunks ahead of the picture data say.
struct PngHeader {
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    bool transparencyChunk = false;
    bool gammaChunk = false;
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
        header.gammaChunk |= std::memcmp(type, "gAMA", 4) == 0;
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

struct MemoryInput {
    Bytes bytes;
    std::size_t position = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (count > input->bytes.size() - input->position) {
        png_error(png, "read beyond end of data");
    }
    std::memcpy(out, input->bytes.data() + input->position, count);
    input->position += count;
}

struct Failure {
    char message[200] = "";
};

void onError(png_structp png, png_const_charp message) {
    auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// libpng's errors jump back into this frame, which therefore holds nothing that needs its
// destructor run.
bool readRows(png_structp png, png_infop info, Bitmap& bitmap, std::uint8_t* row,
              Failure& failure) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    png_read_update_info(png, info);
    if (png_get_image_width(png, info) != static_cast<png_uint_32>(bitmap.width()) ||
        png_get_image_height(png, info) != static_cast<png_uint_32>(bitmap.height()) ||
        png_get_rowbytes(png, info) != static_cast<std::size_t>(bitmap.width()) * 4) {
        std::snprintf(failure.message, sizeof failure.message, "unexpected row layout");
        return false;
    }
    for (int y = 0; y < bitmap.height(); ++y) {
        png_read_row(png, row, nullptr);
        rgbaRowOntoWhite(row, bitmap.width(), bitmap.row(y));
    }
    return true;
}

} // namespace

bool pngRowsOntoWhiteSuit(Bytes bytes) {
    const PngHeader header = headerOf(bytes);
    return (header.colourType == kGreyAlpha || header.colourType == kRgbAlpha) &&
           header.bitDepth == 8 && header.interlace == 0 && !header.gammaChunk;
}

bool pngHasTransparency(Bytes bytes) {
    const PngHeader header = headerOf(bytes);
    return header.colourType == kGreyAlpha || header.colourType == kRgbAlpha ||
           header.transparencyChunk;
}

void readPngRowsOntoWhite(Bytes bytes, Bitmap& bitmap) {
    Failure failure;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, onError, onWarning);
    if (!png) {
        throw ProjectError("the PNG data cannot be decoded: not enough memory");
    }
    png_infop info = png_create_info_struct(png);
    MemoryInput input{bytes};
    png_set_read_fn(png, &input, readFromMemory);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(bitmap.width()) * 4);
    const bool read = info && readRows(png, info, bitmap, row.data(), failure);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read) {
        throw ProjectError(std::string("the PNG data cannot be decoded: ") + failure.message);
    }
}

} // namespace vellumar
