#include "ico_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <png.h>
#include <string>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/byte_reader.h"
#include "readers/dib_decoder.h"

namespace vellumar {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t kDirectoryEntrySize = 16;

bool isPng(Bytes data) {
    return data.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), data.begin());
}

// One picture of the icon, described from its own header: the directory's sizes and depths
// are bytes that cannot say 256 or more and are often left 0.
struct IconEntry {
    Bytes data;
    bool png = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bitDepth = 0;
};

IconEntry describePng(Bytes data) {
    ByteReader in(data);
    in.skip(sizeof kPngSignature + 4); // signature, chunk length
    if (in.u32be() != 0x49484452) {    // "IHDR"
        throw ProjectError("an embedded PNG picture does not start with its header");
    }
    IconEntry entry{data, true};
    entry.width = in.u32be();
    entry.height = in.u32be();
    const int sampleBits = in.u8();
    const int colourType = in.u8();
    const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
    entry.bitDepth = sampleBits * channels;
    return entry;
}

IconEntry describe(Bytes data) {
    if (isPng(data)) {
        return describePng(data);
    }
    const DibHeader header = readDibHeader(data);
    // The height counts the colour rows and the transparency mask below them.
    return {data, false, header.width, header.height / 2, header.bitCount};
}

std::vector<IconEntry> readDirectory(Bytes bytes) {
    ByteReader in(bytes);
    in.skip(4);
    const std::uint16_t count = in.u16le();
    if (count == 0) {
        throw ProjectError("the icon holds no pictures");
    }
    std::vector<IconEntry> entries;
    for (std::uint16_t i = 0; i < count; ++i) {
        in.seek(6 + std::size_t{i} * kDirectoryEntrySize + 8);
        const std::uint32_t size = in.u32le();
        const std::uint32_t offset = in.u32le();
        entries.push_back(describe(in.slice(offset, size)));
    }
    return entries;
}

IconEntry largestEntry(Bytes bytes) {
    const std::vector<IconEntry> entries = readDirectory(bytes);
    return *std::max_element(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        // Sides are below 2^32, so the products fit.
        const std::uint64_t pixelsA = static_cast<std::uint64_t>(a.width) * a.height;
        const std::uint64_t pixelsB = static_cast<std::uint64_t>(b.width) * b.height;
        return pixelsA != pixelsB ? pixelsA < pixelsB : a.bitDepth < b.bitDepth;
    });
}

// The AND mask below the colour rows: one bit a pixel, set where the icon is transparent.
std::vector<std::uint8_t> readMaskAlpha(Bytes data, const DibHeader& header, std::uint64_t offset) {
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    const Bytes mask = ByteReader(data).slice(offset, stride * height);
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * height);
    for (int n = 0; n < height; ++n) {
        const std::uint8_t* bits = mask.data() + n * stride;
        const int y = header.topDown ? n : height - 1 - n;
        for (int x = 0; x < width; ++x) {
            const bool transparent = (bits[x / 8] >> (7 - x % 8)) & 1;
            alpha[static_cast<std::size_t>(y) * width + x] = transparent ? 0 : 255;
        }
    }
    return alpha;
}

Bitmap decodeBitmapEntry(Bytes data) {
    DibHeader header = readDibHeader(data);
    header.height /= 2;
    if (header.compression != DibCompression::None &&
        header.compression != DibCompression::Bitfields &&
        header.compression != DibCompression::AlphaBitfields) {
        throw ProjectError("run-length compressed icon pictures are not supported");
    }
    if (header.bitCount == 32 && header.compression == DibCompression::None) {
        header.masks[3] = 0xFF000000; // icons keep alpha in the fourth byte
    }
    const std::uint64_t pixelOffset = header.defaultPixelOffset();
    DibPicture picture = decodeDib(data, header, pixelOffset);
    if (picture.alpha.empty()) {
        picture.alpha = readMaskAlpha(data, header, pixelOffset + header.stride() * header.height);
    }
    compositeOntoWhite(picture.bitmap, picture.alpha);
    return std::move(picture.bitmap);
}

// libpng reports errors by a long jump; everything it touches lives in this context, owned
// by the caller, so nothing is left half-made in the frame that jumps.
struct PngContext {
    Bytes data;
    std::size_t position = 0;
    std::string error;
    png_structp png = nullptr;
    png_infop info = nullptr;
    Bitmap bitmap;
    std::vector<png_bytep> rows;

    ~PngContext() { png_destroy_read_struct(&png, &info, nullptr); }
};

void readPngBytes(png_structp png, png_bytep target, png_size_t count) {
    auto* context = static_cast<PngContext*>(png_get_io_ptr(png));
    if (count > context->data.size() - context->position) {
        png_error(png, "the data ends early");
    }
    std::memcpy(target, context->data.data() + context->position, count);
    context->position += count;
}

void onPngError(png_structp png, png_const_charp message) {
    static_cast<PngContext*>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Deflate shrinks data at most about 1032 times, so the compressed bytes bound the size a
// PNG can really have: a tiny file claiming a huge picture is refused before allocating.
void checkPngPlausible(Bytes data, const IconEntry& entry) {
    const std::uint64_t rowBytes =
        (static_cast<std::uint64_t>(entry.width) * entry.bitDepth + 7) / 8;
    if (static_cast<std::uint64_t>(entry.height) * (rowBytes + 1) / 1032 > data.size()) {
        throw ProjectError("the embedded PNG picture is truncated");
    }
}

// Decodes into context.bitmap; false when libpng found the data damaged.
bool runPngDecode(PngContext& context) {
    if (setjmp(png_jmpbuf(context.png))) {
        return false;
    }
    png_set_read_fn(context.png, &context, readPngBytes);
    png_read_info(context.png, context.info);
    const PictureSize size = checkPictureSize(png_get_image_width(context.png, context.info),
                                              png_get_image_height(context.png, context.info));
    png_set_expand(context.png);
    png_set_scale_16(context.png); // rounds, where stripping would cut
    png_set_gray_to_rgb(context.png);
    png_color_16 white{};
    white.red = white.green = white.blue = white.gray = 255;
    png_set_background(context.png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_interlace_handling(context.png);
    png_read_update_info(context.png, context.info);
    if (png_get_rowbytes(context.png, context.info) != static_cast<std::size_t>(size.width) * 3) {
        png_error(context.png, "unexpected pixel layout");
    }
    context.bitmap = Bitmap(size.width, size.height);
    context.rows.resize(static_cast<std::size_t>(size.height));
    for (int y = 0; y < size.height; ++y) {
        context.rows[static_cast<std::size_t>(y)] = context.bitmap.row(y);
    }
    png_read_image(context.png, context.rows.data());
    return true;
}

Bitmap decodePngEntry(const IconEntry& entry) {
    checkPictureSize(entry.width, entry.height);
    checkPngPlausible(entry.data, entry);
    PngContext context;
    context.data = entry.data;
    context.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, onPngError, onPngWarning);
    if (context.png) {
        context.info = png_create_info_struct(context.png);
    }
    if (!context.info) {
        throw ProjectError("out of memory while reading the embedded PNG picture");
    }
    if (!runPngDecode(context)) {
        throw ProjectError("the embedded PNG picture is damaged (" + context.error + ")");
    }
    return std::move(context.bitmap);
}

} // namespace

bool IcoReader::sniff(Bytes bytes) const {
    return bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0;
}

PictureSize IcoReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not an icon file");
    }
    const IconEntry entry = largestEntry(source.bytes);
    return checkPictureSize(entry.width, entry.height);
}

Bitmap IcoReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not an icon file");
    }
    const IconEntry entry = largestEntry(source.bytes);
    return entry.png ? decodePngEntry(entry) : decodeBitmapEntry(entry.data);
}

} // namespace vellumar
