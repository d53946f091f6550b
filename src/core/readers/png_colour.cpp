#include "png_colour.h"

#include <array>
#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <png.h>
#include <string>
#include <vector>
#include <zlib.h>

#include "colour/colour_conversion.h"
#include "project_error.h"
#include "readers/byte_reader.h"
#include "readers/png_glue.h"

namespace vellumar {

namespace {

// Larger than any profile a picture carries; a stream inflating beyond it is taken as damaged.
constexpr std::size_t kLargestProfile = 8 * 1024 * 1024;
constexpr double kPngUnit = 100000.0; // gAMA and cHRM store their numbers times 100000

// Inflates a zlib stream of unknown size, up to the largest profile; nothing on failure.
std::optional<std::vector<std::uint8_t>> inflateProfile(Bytes compressed) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> profile;
    stream.next_in = const_cast<Bytef*>(compressed.data());
    stream.avail_in = static_cast<uInt>(compressed.size());
    int status = Z_OK;
    while (status == Z_OK && profile.size() < kLargestProfile) {
        const std::size_t done = profile.size();
        profile.resize(done + 64 * 1024);
        stream.next_out = profile.data() + done;
        stream.avail_out = static_cast<uInt>(profile.size() - done);
        status = inflate(&stream, Z_NO_FLUSH);
        profile.resize(profile.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        return std::nullopt;
    }
    return profile;
}

ColourDescription embeddedProfile(Bytes chunk) {
    // A name of 1 to 79 characters, its terminating zero, the compression method (0), data.
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(chunk.data(), 0, chunk.size()));
    if (end == nullptr || static_cast<std::size_t>(end - chunk.data()) + 2 > chunk.size()) {
        return ColourDescription::iccProfile({});
    }
    const std::size_t data = static_cast<std::size_t>(end - chunk.data()) + 2;
    return ColourDescription::iccProfile(
        inflateProfile(chunk.subspan(data)).value_or(std::vector<std::uint8_t>{}));
}

Chromaticities chromaticitiesOf(Bytes chunk) {
    ByteReader reader(chunk);
    std::array<double, 8> values{};
    for (double& value : values) {
        value = reader.u32be() / kPngUnit;
    }
    return {values[0], values[1], values[2], values[3], values[4], values[5], values[6], values[7]};
}

// Lays RGBA samples (8 or 16 bits, native order) onto white in place, leaving RGB.
template <typename Sample>
void ontoWhite(std::uint8_t* row, int width) {
    constexpr std::uint32_t kFull = std::numeric_limits<Sample>::max();
    const auto* in = reinterpret_cast<const Sample*>(row);
    auto* out = reinterpret_cast<Sample*>(row);
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        const std::uint32_t alpha = in[3];
        for (int c = 0; c < 3; ++c) {
            out[c] =
                static_cast<Sample>((in[c] * alpha + kFull * (kFull - alpha) + kFull / 2) / kFull);
        }
    }
}

// Expands every colour type to RGBA of its own depth, without touching its gamma. Whether
// its samples are 16-bit.
bool requestRawRgba(png_structp png, png_infop info) {
    png_set_expand(png);
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    const bool deep = png_get_bit_depth(png, info) == 16;
    if (deep && std::endian::native == std::endian::little) {
        png_set_swap(png);
    }
    if ((png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) == 0 &&
        png_get_valid(png, info, PNG_INFO_tRNS) == 0) {
        png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    }
    png_read_update_info(png, info);
    return deep;
}

// The memory rows pass through, held by the caller of the frame libpng jumps back into.
struct RowBuffers {
    std::vector<std::uint8_t> samples;
    std::vector<std::uint8_t> converted;
};

// Laying onto white and converting work on single pixels, so the reduced rows of an
// interlaced picture are finished where they come and nothing is kept from pass to pass.
void readPass(png_structp png, const PngPass& pass, bool deep, const ColourConverter& converter,
              RowBuffers& buffers, Bitmap& bitmap) {
    for (int r = 0; r < pass.rows && pass.columns > 0; ++r) {
        png_read_row(png, buffers.samples.data(), nullptr);
        if (deep) {
            ontoWhite<std::uint16_t>(buffers.samples.data(), pass.columns);
        } else {
            ontoWhite<std::uint8_t>(buffers.samples.data(), pass.columns);
        }
        converter.convert(buffers.samples.data(), buffers.converted.data(),
                          static_cast<std::size_t>(pass.columns));
        std::uint8_t* out = bitmap.row(pass.firstY + r * pass.stepY);
        for (int i = 0; i < pass.columns; ++i) {
            std::memcpy(out + static_cast<std::size_t>(pass.firstX + i * pass.stepX) * 3,
                        buffers.converted.data() + static_cast<std::size_t>(i) * 3, 3);
        }
    }
}

// libpng's errors jump back into this frame, which therefore holds nothing that needs its
// destructor run.
bool readRows(png_structp png, png_infop info, Bitmap& bitmap, const ColourConverter& converter,
              RowBuffers& buffers, PngFailure& failure) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_benign_errors(png, 1);
    png_read_info(png, info);
    const bool deep = requestRawRgba(png, info);
    const int width = bitmap.width();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * (deep ? 8 : 4);
    if (png_get_image_width(png, info) != static_cast<png_uint_32>(width) ||
        png_get_image_height(png, info) != static_cast<png_uint_32>(bitmap.height()) ||
        png_get_rowbytes(png, info) != rowBytes) {
        std::snprintf(failure.message, sizeof failure.message, "unexpected row layout");
        return false;
    }
    buffers.samples.resize(rowBytes);
    buffers.converted.resize(static_cast<std::size_t>(width) * 3);
    if (png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        readPass(png, {0, 1, 0, 1, width, bitmap.height()}, deep, converter, buffers, bitmap);
        return true;
    }
    constexpr int kAdam7Passes = 7;
    for (int pass = 0; pass < kAdam7Passes; ++pass) {
        readPass(png, adam7Pass(pass, width, bitmap.height()), deep, converter, buffers, bitmap);
    }
    return true;
}

} // namespace

ColourDescription pngColour(Bytes bytes) {
    std::optional<ColourDescription> srgbChunk;
    std::optional<double> gamma;
    std::optional<Chromaticities> chromaticities;
    try {
        ByteReader reader(bytes, 8);
        while (reader.has(12)) {
            const std::uint32_t length = reader.u32be();
            const Bytes type = reader.take(4);
            const auto is = [&](const char* name) {
                return std::memcmp(type.data(), name, 4) == 0;
            };
            if (is("IDAT") || is("IEND")) {
                break;
            }
            const Bytes data = reader.take(length);
            reader.skip(4); // CRC
            if (is("iCCP")) {
                return embeddedProfile(data);
            }
            if (is("sRGB")) {
                srgbChunk = ColourDescription::srgb();
            } else if (is("gAMA") && data.size() == 4) {
                const std::uint32_t encoding = ByteReader(data).u32be();
                if (encoding != 0) {
                    gamma = kPngUnit / encoding;
                }
            } else if (is("cHRM") && data.size() == 32) {
                chromaticities = chromaticitiesOf(data);
            }
        }
    } catch (const ProjectError&) {
        // What came before the data ended still tells the colours.
    }
    if (srgbChunk) {
        return *srgbChunk;
    }
    if (!gamma && !chromaticities) {
        return ColourDescription::srgb();
    }
    return ColourDescription::calibrated(gamma.value_or(2.2), chromaticities);
}

bool pngHasDeepSamples(Bytes bytes) {
    constexpr std::size_t kBitDepth = 8 + 8 + 8; // signature, chunk length and type, size
    return bytes.size() > kBitDepth && bytes[kBitDepth] == 16;
}

void readPngConverted(Bytes bytes, Bitmap& bitmap, const ColourConverter& converter) {
    PngFailure failure;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, onPngError, onPngWarning);
    if (!png) {
        throw ProjectError("the PNG data cannot be decoded: not enough memory");
    }
    png_infop info = png_create_info_struct(png);
    PngMemoryInput input{bytes};
    png_set_read_fn(png, &input, readPngFromMemory);
    RowBuffers buffers;
    const bool read = info && readRows(png, info, bitmap, converter, buffers, failure);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!read) {
        throw ProjectError(std::string("the PNG data cannot be decoded: ") + failure.message);
    }
}

} // namespace vellumar
