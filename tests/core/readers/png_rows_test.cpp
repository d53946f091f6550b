#include <csetjmp>
#include <cstdint>
#include <optional>
#include <png.h>
#include <random>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "colour/colour_conversion.h"
#include "reader_fixtures.h"
#include "readers/alpha_onto_white.h"
#include "readers/png_data_extent.h"
#include "readers/png_reader.h"
#include "support/colour_fixtures.h"

namespace vellumar::testing {
namespace {

// What the whole-picture reading gives: libpng's simplified reading to 8-bit RGBA, 16-bit
// samples taken as sRGB, laid onto white afterwards. The row-by-row reading must give exactly
// this, its failure message included.
struct WholePictureRead {
    Bitmap picture;
    std::string error;
};

WholePictureRead readWholePicture(const std::vector<std::uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        return {Bitmap(), std::string("the PNG data cannot be decoded: ") + image.message};
    }
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    image.format = PNG_FORMAT_RGBA;
    const std::size_t stride = static_cast<std::size_t>(image.width) * 4;
    std::vector<std::uint8_t> rgba(stride * image.height);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), static_cast<png_int_32>(stride),
                               nullptr)) {
        return {Bitmap(), std::string("the PNG data cannot be decoded: ") + image.message +
                              pngDataExtent(bytes)};
    }
    return {rgbaOntoWhite(rgba.data(), stride, static_cast<int>(image.width),
                          static_cast<int>(image.height)),
            ""};
}

// A PNG to write: its layout, whether it carries a tRNS chunk, and its gamma chunks.
struct PngLayout {
    std::string name;
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    bool interlaced = false;
    bool transparencyChunk = false;
    png_fixed_point gamma = 0; // no gAMA chunk when 0
    bool srgbChunk = false;
};

void PrintTo(const PngLayout& layout, std::ostream* out) {
    *out << layout.name;
}

void appendTo(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    file->insert(file->end(), data, data + length);
}

// libpng's errors jump back here, so this frame holds nothing with a destructor.
bool writeRows(png_structp png, png_infop info, const PngLayout& layout,
               const std::vector<png_color>& palette, const std::vector<png_byte>& paletteAlpha,
               const png_color_16& transparent, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width),
                 static_cast<png_uint_32>(layout.height), layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (layout.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    if (layout.transparencyChunk) {
        png_set_tRNS(png, info, paletteAlpha.data(), static_cast<int>(paletteAlpha.size()),
                     &transparent);
    }
    if (layout.gamma != 0) {
        png_set_gAMA_fixed(png, info, layout.gamma);
    }
    if (layout.srgbChunk) {
        png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

int channelsOf(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

// The first pixel's grey or RGB samples, as a tRNS chunk names them.
png_color_16 firstColour(const PngLayout& layout, const std::vector<png_byte>& row) {
    const auto sample = [&](std::size_t index) {
        if (layout.bitDepth == 16) {
            return static_cast<png_uint_16>(row[index * 2] << 8 | row[index * 2 + 1]);
        }
        return static_cast<png_uint_16>(row[index] >> (8 - layout.bitDepth));
    };
    png_color_16 colour{};
    if (layout.colourType == PNG_COLOR_TYPE_RGB) {
        colour.red = sample(0);
        colour.green = sample(1);
        colour.blue = sample(2);
    } else {
        colour.gray = sample(0);
    }
    return colour;
}

// Random samples, so that every alpha from clear to opaque and every colour turn up; the tRNS
// colour is the first pixel's, so it matches at least once.
std::vector<std::uint8_t> writePng(const PngLayout& layout) {
    std::mt19937 random(static_cast<unsigned>(layout.width * 131 + layout.height));
    std::uniform_int_distribution<int> byte(0, 255);
    const std::size_t rowBytes =
        (static_cast<std::size_t>(layout.width) * channelsOf(layout.colourType) * layout.bitDepth +
         7) /
        8;
    std::vector<std::vector<png_byte>> pixels(layout.height, std::vector<png_byte>(rowBytes));
    for (std::vector<png_byte>& row : pixels) {
        for (png_byte& sample : row) {
            sample = static_cast<png_byte>(byte(random));
        }
    }
    std::vector<png_color> palette(std::size_t{1} << std::min(layout.bitDepth, 8));
    for (png_color& entry : palette) {
        entry = {static_cast<png_byte>(byte(random)), static_cast<png_byte>(byte(random)),
                 static_cast<png_byte>(byte(random))};
    }
    // Shorter than the palette: the entries past it are opaque.
    std::vector<png_byte> paletteAlpha(palette.size() * 2 / 3 + 1);
    for (png_byte& alpha : paletteAlpha) {
        alpha = static_cast<png_byte>(byte(random));
    }
    const png_color_16 transparent = firstColour(layout, pixels[0]);
    if (layout.colourType != PNG_COLOR_TYPE_PALETTE) {
        paletteAlpha.clear();
    }
    std::vector<png_bytep> rows;
    for (std::vector<png_byte>& row : pixels) {
        rows.push_back(row.data());
    }
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, appendTo, nullptr);
    const bool written =
        writeRows(png, info, layout, palette, paletteAlpha, transparent, rows.data());
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(written) << layout.name;
    return file;
}

class PngRowsMatchWholePicture : public ::testing::TestWithParam<PngLayout> {};

// Every kind of transparency a PNG can carry, at every depth, interlaced or not, with and
// without gamma chunks, and opaque 16-bit pictures; the sizes leave some of the seven passes
// empty or one pixel wide.
std::vector<PngLayout> rowLayouts() {
    std::vector<PngLayout> layouts;
    const auto add = [&layouts](PngLayout layout) {
        for (const bool interlaced : {false, true}) {
            layout.interlaced = interlaced;
            PngLayout named = layout;
            named.name += interlaced ? "_interlaced" : "";
            layouts.push_back(named);
        }
    };
    for (const int depth : {8, 16}) {
        const std::string bits = std::to_string(depth);
        add({"rgba" + bits, 33, 17, PNG_COLOR_TYPE_RGB_ALPHA, depth});
        add({"gray_alpha" + bits, 9, 11, PNG_COLOR_TYPE_GRAY_ALPHA, depth});
        add({"rgb" + bits + "_trns", 13, 6, PNG_COLOR_TYPE_RGB, depth, false, true});
        add({"rgba" + bits + "_linear_gamma", 20, 9, PNG_COLOR_TYPE_RGB_ALPHA, depth, false, false,
             PNG_FP_1});
        add({"rgba" + bits + "_gamma_0_8", 7, 7, PNG_COLOR_TYPE_RGB_ALPHA, depth, false, false,
             80000});
        add({"rgba" + bits + "_srgb", 5, 12, PNG_COLOR_TYPE_RGB_ALPHA, depth, false, false, 45455,
             true});
    }
    for (const int depth : {1, 2, 4, 8}) {
        const std::string bits = std::to_string(depth);
        add({"palette" + bits + "_trns", 19, 10, PNG_COLOR_TYPE_PALETTE, depth, false, true});
    }
    for (const int depth : {1, 2, 4, 8, 16}) {
        add({"gray" + std::to_string(depth) + "_trns", 11, 13, PNG_COLOR_TYPE_GRAY, depth, false,
             true});
    }
    add({"palette8_trns_gamma", 6, 9, PNG_COLOR_TYPE_PALETTE, 8, false, true, 100000});
    add({"gray_alpha16_gamma", 10, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false, 30000});
    add({"rgba8_one_pixel", 1, 1});
    add({"rgba16_one_column", 1, 9, PNG_COLOR_TYPE_RGB_ALPHA, 16});
    add({"rgba8_one_row", 12, 1});
    add({"rgb16", 14, 10, PNG_COLOR_TYPE_RGB, 16});
    add({"gray16_gamma", 9, 8, PNG_COLOR_TYPE_GRAY, 16, false, false, 80000});
    return layouts;
}

// The whole-picture reading of a 16-bit interlaced picture puts rows of later passes in place
// of earlier ones, so the same pixels stored without interlacing are what it should give. A
// gamma chunk makes the colours those of the same samples without it, converted from that
// gamma.
TEST_P(PngRowsMatchWholePicture, PixelForPixel) {
    const PngLayout& layout = GetParam();
    PngLayout reference = layout;
    reference.interlaced = reference.interlaced && layout.bitDepth != 16;
    reference.gamma = 0;
    WholePictureRead whole = readWholePicture(writePng(reference));
    ASSERT_EQ(whole.error, "");
    const Bitmap decoded = PngReader().decode({writePng(layout), "generated.png"});
    if (layout.gamma == 0) {
        EXPECT_TRUE(matchesPicture(decoded, whole.picture));
        return;
    }
    ASSERT_TRUE(convertColours(whole.picture,
                               ColourDescription::calibrated(100000.0 / layout.gamma, std::nullopt),
                               ColourSpace::Srgb));
    // 16-bit samples are converted before they are cut, more exactly than the reference,
    // which cuts them first: the two meet on the whole, not in every dark pixel.
    if (layout.bitDepth != 16) {
        EXPECT_TRUE(matchesPicture(decoded, whole.picture, 1));
    }
    EXPECT_LE(meanDifference(decoded, whole.picture), 0.5);
}

INSTANTIATE_TEST_SUITE_P(Generated, PngRowsMatchWholePicture, ::testing::ValuesIn(rowLayouts()),
                         [](const ::testing::TestParamInfo<PngLayout>& info) {
                             return info.param.name;
                         });

TEST(PngRows, TransparentFixturesMatchTheWholePictureReading) {
    for (const char* name : {"rgba8.png", "rgba16.png", "gray-alpha8.png", "gray-alpha16.png",
                             "palette-trns.png", "rgb-trns.png"}) {
        const std::vector<std::uint8_t> file = fixtureBytes("png", name);
        EXPECT_TRUE(
            matchesPicture(PngReader().decode({file, name}), readWholePicture(file).picture))
            << name;
    }
}

// Nothing beside the bitmap grows with the picture, whatever its transparency.
TEST(PngRows, DecodingTakesTheBitmapAlone) {
    for (const PngLayout& layout : rowLayouts()) {
        const std::vector<std::uint8_t> file = writePng(layout);
        const PngReader reader;
        const PictureSource source{file, layout.name};
        const PictureSize size = reader.probe(source);
        EXPECT_EQ(reader.decodeMemory(source, size), rgbBytes(size)) << layout.name;
    }
}

// A file that ends early fails with the words the whole-picture reading used, and says how
// far its data goes, by rows or by interlace pass.
TEST(PngRows, TruncatedFilesFailAsTheWholePictureReadingDid) {
    for (const PngLayout& layout :
         {PngLayout{"rgba16", 40, 30, PNG_COLOR_TYPE_RGB_ALPHA, 16},
          PngLayout{"palette", 40, 30, PNG_COLOR_TYPE_PALETTE, 4, false, true},
          PngLayout{"interlaced", 40, 30, PNG_COLOR_TYPE_GRAY_ALPHA, 8, true}}) {
        std::vector<std::uint8_t> file = writePng(layout);
        file.resize(file.size() / 2);
        const std::string expected = readWholePicture(file).error;
        EXPECT_THAT(expected, ::testing::EndsWith(")")) << layout.name;
        EXPECT_EQ(decodeError(PngReader(), file), expected) << layout.name;
    }
}

} // namespace
} // namespace vellumar::testing
