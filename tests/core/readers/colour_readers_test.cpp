#include <cmath>
#include <cstring>
#include <jxl/encode.h>
#include <libheif/heif.h>
#include <memory>
#include <optional>
#include <png.h>
#include <string>
#include <tiffio.h>
#include <vector>
#include <webp/encode.h>

#include <gtest/gtest.h>

#include "colour/colour_conversion.h"
#include "readers/heif_reader.h"
#include "readers/jpeg_reader.h"
#include "readers/jxl_reader.h"
#include "readers/picture_loader.h"
#include "readers/png_reader.h"
#include "readers/psd_reader.h"
#include "readers/reader_table.h"
#include "readers/tiff_reader.h"
#include "readers/webp_reader.h"
#include "support/colour_fixtures.h"
#include "support/file_contents.h"
#include "support/libjpeg_decode.h"
#include "support/psd_file.h"
#include "support/scratch_folder.h"

namespace vellumar::testing {
namespace {

using Kind = ColourDescription::Kind;

// Every decode of a tagged picture is held against Little CMS run by the test on the same
// samples: the conversions must agree to within this mean difference (of 255 levels).
constexpr double kSameConversion = 0.5;

ColourDescription colourOf(const PictureReader& reader, const std::vector<std::uint8_t>& bytes) {
    return reader.colour({bytes, "test"});
}

class ColourReadersTest : public ::testing::Test {
protected:
    // The file decoded by the program into sRGB (or Display P3).
    Bitmap decoded(const std::vector<std::uint8_t>& bytes, const std::string& name,
                   ColourSpace space = ColourSpace::Srgb) {
        const std::string path = scratch.folder() + name;
        writeFile(path, std::string(bytes.begin(), bytes.end()));
        return PictureFile(path, pictureFormats()).decode(1, space);
    }
    ScratchFolder scratch;
};

// --- JPEG ---

TEST_F(ColourReadersTest, JpegProfileIsJoinedFromItsNumberedPieces) {
    const Bitmap picture = colourfulPicture(64, 48);
    const std::vector<std::uint8_t> p3 = displayP3Profile();
    for (const int pieces : {1, 40}) {
        const ColourDescription found = colourOf(JpegReader(), jpegWith(picture, {p3, pieces, {}}));
        EXPECT_EQ(found.kind, Kind::Icc) << pieces;
        EXPECT_EQ(found.icc, p3) << pieces;
        EXPECT_EQ(colourName(found), "Display P3 (ICC)");
    }
}

TEST_F(ColourReadersTest, JpegProfileWithPiecesMissingOrTwiceIsDamaged) {
    const Bitmap picture = colourfulPicture(16, 16);
    std::vector<std::uint8_t> file = jpegWith(picture, {displayP3Profile(), 3, {}});
    // Renumber the second piece as the first: piece 2 is missing, piece 1 is there twice.
    const std::string text(file.begin(), file.end());
    const std::size_t second = text.find("ICC_PROFILE", text.find("ICC_PROFILE") + 1);
    ASSERT_NE(second, std::string::npos);
    file[second + 12] = 1;
    const ColourDescription damaged = colourOf(JpegReader(), file);
    EXPECT_EQ(damaged.kind, Kind::Icc);
    EXPECT_FALSE(colourUsable(damaged));
    // Its picture is shown as it is, as sRGB.
    const Bitmap shown = decoded(file, "damaged.jpg");
    EXPECT_EQ(meanDifference(shown, decodeWithLibjpeg(file).picture), 0.0);
}

TEST_F(ColourReadersTest, JpegExifInteropIndexR03MeansAdobeRgb) {
    const Bitmap picture = colourfulPicture(48, 32);
    const auto adobe = jpegWith(picture, {{}, 1, exifWithInteropIndex("R03")});
    EXPECT_EQ(colourOf(JpegReader(), adobe).kind, Kind::AdobeRgbExif);
    EXPECT_EQ(colourName(colourOf(JpegReader(), adobe)), "Adobe RGB (EXIF)");
    EXPECT_TRUE(
        colourOf(JpegReader(), jpegWith(picture, {{}, 1, exifWithInteropIndex("R98")})).isSrgb());
    // An embedded profile wins over what EXIF says.
    const auto both = jpegWith(picture, {displayP3Profile(), 1, exifWithInteropIndex("R03")});
    EXPECT_EQ(colourOf(JpegReader(), both).kind, Kind::Icc);

    // Converted as the Adobe-compatible profile made from its primaries.
    const Bitmap expected = convertedWithLcms(decodeWithLibjpeg(adobe).picture, adobeLikeProfile());
    EXPECT_LE(meanDifference(decoded(adobe, "adobe.jpg"), expected), kSameConversion);
}

TEST_F(ColourReadersTest, TaggedJpegConvertsToSrgbOrDisplayP3) {
    const Bitmap picture = colourfulPicture(64, 48);
    for (const auto& profile : {displayP3Profile(), adobeLikeProfile(), proPhotoLikeProfile()}) {
        const auto file = jpegWith(picture, {profile, 1, {}});
        const Bitmap stored = decodeWithLibjpeg(file).picture;
        EXPECT_LE(meanDifference(decoded(file, "tagged.jpg"), convertedWithLcms(stored, profile)),
                  kSameConversion);
        EXPECT_LE(meanDifference(decoded(file, "tagged.jpg", ColourSpace::DisplayP3),
                                 convertedWithLcms(stored, profile, true)),
                  kSameConversion);
        // The profile makes a difference worth making.
        EXPECT_GT(meanDifference(decoded(file, "tagged.jpg"), stored), 2.0);
    }
}

TEST_F(ColourReadersTest, GrayJpegWithGrayProfile) {
    Bitmap gray(32, 8);
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 8; ++y) {
            const auto level = static_cast<std::uint8_t>(x * 8);
            gray.setPixel(x, y, {level, level, level});
        }
    }
    const auto profile = grayProfile(1.8);
    const auto file = jpegWith(gray, {profile, 1, {}});
    EXPECT_EQ(colourName(colourOf(JpegReader(), file)), "Gray (ICC: Gray test)");
    const Bitmap stored = decodeWithLibjpeg(file).picture;
    const cmsUInt32Number grayOfRgb =
        COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(1) | EXTRA_SH(2);
    EXPECT_LE(meanDifference(decoded(file, "gray.jpg"),
                             convertedWithLcms(stored, profile, false, grayOfRgb)),
              kSameConversion);
}

// CMYK samples that libjpeg stores as given; with its Adobe marker they count as inverted.
std::vector<std::uint8_t> cmykSamples(int width, int height) {
    std::vector<std::uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            samples.push_back(static_cast<std::uint8_t>(255 - (x * 255) / width));
            samples.push_back(static_cast<std::uint8_t>(255 - (y * 255) / height));
            samples.push_back(static_cast<std::uint8_t>(255 - ((x + y) * 127) / (width + height)));
            samples.push_back(static_cast<std::uint8_t>(x % 16 == 0 ? 60 : 255));
        }
    }
    return samples;
}

// The stored CMYK samples as libjpeg decodes them (inverted behind the Adobe marker),
// converted by the test itself.
Bitmap cmykThroughLcms(const std::vector<std::uint8_t>& file,
                       const std::vector<std::uint8_t>& profile) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_CMYK;
    jpeg_start_decompress(&info);
    const auto rowBytes = static_cast<std::size_t>(info.output_width) * 4;
    std::vector<std::uint8_t> cmyk(rowBytes * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = cmyk.data() + rowBytes * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const bool inverted = info.saw_Adobe_marker;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return samplesThroughLcms(cmyk.data(), width, height, profile,
                              inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8);
}

TEST_F(ColourReadersTest, CmykJpegGoesThroughItsProfileOrThePressProfile) {
    const std::vector<std::uint8_t> press = pressCmykProfileBytes();
    ASSERT_FALSE(press.empty()) << "ghostscript's press profile is not installed";
    const std::vector<std::uint8_t> samples = cmykSamples(64, 40);
    const auto bare = jpegWith(samples.data(), 64, 40, true, {});
    EXPECT_EQ(colourOf(JpegReader(), bare).kind, Kind::PressCmyk);
    const Bitmap expected = cmykThroughLcms(bare, press);
    EXPECT_LE(meanDifference(decoded(bare, "bare-cmyk.jpg"), expected), kSameConversion);

    const auto tagged = jpegWith(samples.data(), 64, 40, true, {press, 4, {}});
    EXPECT_EQ(colourName(colourOf(JpegReader(), tagged)).rfind("CMYK (ICC: ", 0), 0u);
    EXPECT_LE(meanDifference(decoded(tagged, "cmyk.jpg"), expected), kSameConversion);

    // A reduced decode converts the reduced samples.
    const Bitmap half = PictureFile(scratch.folder() + "cmyk.jpg", pictureFormats()).decode(2);
    EXPECT_EQ(half.width(), 32);
}

// The CMYK fixtures of the readers, Adobe-inverted JPEG CMYK and YCCK, a TIFF's plain ink and
// a Photoshop picture's raw inverted ink planes, all without a profile.
TEST_F(ColourReadersTest, CmykFixturesGoThroughThePressProfile) {
    const std::vector<std::uint8_t> press = pressCmykProfileBytes();
    for (const char* name : {"cmyk.jpg", "ycck.jpg"}) {
        const std::string path = std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/jpeg/" + name;
        const std::vector<std::uint8_t> file = readFileBytes(path);
        EXPECT_LE(meanDifference(PictureFile(path, pictureFormats()).decode(),
                                 cmykThroughLcms(file, press)),
                  kSameConversion)
            << name;
    }
    const std::string path = std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/tiff/cmyk.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    std::vector<std::uint8_t> ink(static_cast<std::size_t>(width) * height * 4);
    for (std::uint32_t y = 0; y < height; ++y) {
        TIFFReadScanline(tiff, ink.data() + static_cast<std::size_t>(y) * width * 4, y, 0);
    }
    TIFFClose(tiff);
    EXPECT_LE(meanDifference(PictureFile(path, pictureFormats()).decode(),
                             samplesThroughLcms(ink.data(), static_cast<int>(width),
                                                static_cast<int>(height), press, TYPE_CMYK_8)),
              kSameConversion);

    const std::string psd = std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/psd/cmyk.psd";
    const std::vector<std::uint8_t> file = readFileBytes(psd);
    const std::size_t pixels = 16 * 12; // the planes close the file
    std::vector<std::uint8_t> stored(pixels * 4);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        stored[i] = file[file.size() - pixels * 4 + (i % 4) * pixels + i / 4];
    }
    EXPECT_LE(meanDifference(PictureFile(psd, pictureFormats()).decode(),
                             samplesThroughLcms(stored.data(), 16, 12, press, TYPE_CMYK_8_REV)),
              kSameConversion);
}

// --- PNG ---

struct PngChunks {
    std::optional<double> fileGamma; // as gAMA stores it: 1 / decoding gamma
    std::vector<std::uint8_t> profile;
    bool deep = false;
};

void appendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* file = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    file->insert(file->end(), data, data + size);
}

// An RGB PNG of the picture's samples (16-bit ones repeat each 8-bit sample in both bytes,
// plus a small step so that the low byte matters).
std::vector<std::uint8_t> pngWith(const Bitmap& picture, const PngChunks& chunks) {
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, appendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
                 static_cast<png_uint_32>(picture.height()), chunks.deep ? 16 : 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (chunks.fileGamma) {
        png_set_gAMA_fixed(png, info,
                           static_cast<png_fixed_point>(std::lround(*chunks.fileGamma * 100000)));
    }
    if (!chunks.profile.empty()) {
        png_set_iCCP(png, info, "test", 0, chunks.profile.data(),
                     static_cast<png_uint_32>(chunks.profile.size()));
    }
    png_write_info(png, info);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) *
                                  (chunks.deep ? 6 : 3));
    for (int y = 0; y < picture.height(); ++y) {
        for (int i = 0; i < picture.width() * 3; ++i) {
            const std::uint8_t sample = picture.row(y)[i];
            if (chunks.deep) {
                row[2 * i] = sample;
                row[2 * i + 1] = static_cast<std::uint8_t>((i * 37 + y * 11) & 0xFF);
            } else {
                row[i] = sample;
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

TEST_F(ColourReadersTest, PngGammaIsHonouredExactly) {
    const Bitmap picture = colourfulPicture(64, 32);
    for (const double decodingGamma : {1.0, 1.8}) {
        const auto file = pngWith(picture, {1 / decodingGamma, {}, false});
        const ColourDescription found = colourOf(PngReader(), file);
        EXPECT_EQ(found.kind, Kind::Calibrated);
        EXPECT_NEAR(found.decodingGamma, decodingGamma, 1e-4);
        // Linear light from the file's curve, encoded with sRGB's.
        Bitmap expected = Bitmap::uninitialized(picture.width(), picture.height());
        for (int y = 0; y < picture.height(); ++y) {
            for (int i = 0; i < picture.width() * 3; ++i) {
                const double linear = std::pow(picture.row(y)[i] / 255.0, decodingGamma);
                const double encoded = linear <= 0.0031308
                                           ? 12.92 * linear
                                           : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
                expected.row(y)[i] = static_cast<std::uint8_t>(std::lround(255 * encoded));
            }
        }
        EXPECT_LE(meanDifference(decoded(file, "gamma.png"), expected), kSameConversion)
            << decodingGamma;
    }
    // 2.2 is how an untagged picture is shown: nothing to convert.
    EXPECT_TRUE(colourOf(PngReader(), pngWith(picture, {1 / 2.2, {}, false})).isSrgb());
}

TEST_F(ColourReadersTest, DeepPngWithProfileIsConvertedBeforeItIsCut) {
    const Bitmap picture = colourfulPicture(64, 32);
    const std::vector<std::uint8_t> p3 = displayP3Profile();
    const auto file = pngWith(picture, {std::nullopt, p3, true});
    EXPECT_EQ(colourOf(PngReader(), file).icc, p3);
    // The reference converts the very 16-bit samples stored.
    std::vector<std::uint16_t> samples;
    for (int y = 0; y < picture.height(); ++y) {
        for (int i = 0; i < picture.width() * 3; ++i) {
            samples.push_back(
                static_cast<std::uint16_t>(picture.row(y)[i] << 8 | ((i * 37 + y * 11) & 0xFF)));
        }
    }
    const Bitmap deep =
        samplesThroughLcms(samples.data(), picture.width(), picture.height(), p3, TYPE_RGB_16);
    EXPECT_LE(meanDifference(decoded(file, "deep.png"), deep), kSameConversion);

    // The same picture in 8 bits takes the same route.
    const auto shallow = pngWith(picture, {std::nullopt, p3, false});
    EXPECT_LE(meanDifference(decoded(shallow, "shallow.png"), convertedWithLcms(picture, p3)),
              kSameConversion);
}

TEST_F(ColourReadersTest, DamagedPngProfileLeavesTheColoursAsSrgb) {
    const Bitmap picture = colourfulPicture(16, 16);
    std::vector<std::uint8_t> file = pngWith(picture, {std::nullopt, displayP3Profile(), false});
    const std::string text(file.begin(), file.end());
    const std::size_t chunk = text.find("iCCP");
    ASSERT_NE(chunk, std::string::npos);
    file[chunk + 4 + 5 + 2 + 3] ^= 0x55; // inside the compressed profile
    EXPECT_FALSE(colourUsable(colourOf(PngReader(), file)));
}

// --- WebP, TIFF, HEIF, JPEG XL ---

// A lossless WebP whose extended header announces the profile that follows it.
std::vector<std::uint8_t> webpWith(const Bitmap& picture, const std::vector<std::uint8_t>& icc) {
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeLosslessRGB(picture.row(0), picture.width(),
                                                   picture.height(), picture.width() * 3, &encoded);
    const std::vector<std::uint8_t> simple(encoded, encoded + size);
    WebPFree(encoded);
    const auto le = [](std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    std::vector<std::uint8_t> body{'W', 'E', 'B', 'P', 'V', 'P', '8', 'X'};
    le(body, 10, 4);
    body.push_back(0x20); // the ICC flag
    le(body, 0, 3);
    le(body, static_cast<std::uint32_t>(picture.width() - 1), 3);
    le(body, static_cast<std::uint32_t>(picture.height() - 1), 3);
    body.insert(body.end(), {'I', 'C', 'C', 'P'});
    le(body, static_cast<std::uint32_t>(icc.size()), 4);
    body.insert(body.end(), icc.begin(), icc.end());
    if (icc.size() % 2) {
        body.push_back(0);
    }
    body.insert(body.end(), simple.begin() + 12, simple.end()); // the VP8L chunk
    std::vector<std::uint8_t> file{'R', 'I', 'F', 'F'};
    le(file, static_cast<std::uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

TEST_F(ColourReadersTest, WebpProfileIsFoundAndHonoured) {
    const Bitmap picture = colourfulPicture(40, 24);
    const std::vector<std::uint8_t> p3 = displayP3Profile();
    const auto file = webpWith(picture, p3);
    EXPECT_EQ(colourOf(WebpReader(), file).icc, p3);
    EXPECT_LE(meanDifference(decoded(file, "p3.webp"), convertedWithLcms(picture, p3)),
              kSameConversion);
}

TEST_F(ColourReadersTest, TiffProfileIsFoundAndHonoured) {
    const Bitmap picture = colourfulPicture(40, 24);
    const std::vector<std::uint8_t> profile = adobeLikeProfile();
    const std::string path = scratch.folder() + "adobe.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height());
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
    TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(profile.size()),
                 profile.data());
    for (int y = 0; y < picture.height(); ++y) {
        TIFFWriteScanline(tiff, const_cast<std::uint8_t*>(picture.row(y)),
                          static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(tiff);
    const PictureFile file(path, pictureFormats());
    EXPECT_EQ(file.colour().icc, profile);
    EXPECT_LE(meanDifference(file.decode(), convertedWithLcms(picture, profile)), kSameConversion);
}

TEST_F(ColourReadersTest, CmykTiffGoesThroughThePressProfile) {
    const std::vector<std::uint8_t> press = pressCmykProfileBytes();
    ASSERT_FALSE(press.empty());
    const int width = 40;
    const int height = 24;
    const std::vector<std::uint8_t> ink = cmykSamples(width, height);
    const std::string path = scratch.folder() + "press.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_SEPARATED);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
    for (int y = 0; y < height; ++y) {
        TIFFWriteScanline(tiff, const_cast<std::uint8_t*>(ink.data()) + y * width * 4,
                          static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(tiff);
    const PictureFile file(path, pictureFormats());
    EXPECT_EQ(file.colour().kind, Kind::PressCmyk);

    const Bitmap expected = samplesThroughLcms(ink.data(), width, height, press, TYPE_CMYK_8);
    EXPECT_LE(meanDifference(file.decode(), expected), kSameConversion);
}

// The planes of interleaved samples.
std::vector<std::vector<std::uint8_t>> planesOf(const std::uint8_t* samples, std::size_t pixels,
                                                int channels) {
    std::vector<std::vector<std::uint8_t>> planes(static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < pixels * static_cast<std::size_t>(channels); ++i) {
        planes[i % static_cast<std::size_t>(channels)].push_back(samples[i]);
    }
    return planes;
}

TEST_F(ColourReadersTest, PsdProfileIsFoundAndHonoured) {
    const Bitmap picture = colourfulPicture(24, 10);
    const std::vector<std::uint8_t> profile = proPhotoLikeProfile();
    const auto file = psdWith(24, 10, 3, planesOf(picture.row(0), 240, 3), profile);
    EXPECT_EQ(colourOf(PsdReader(), file).icc, profile);
    EXPECT_LE(meanDifference(decoded(file, "wide.psd"), convertedWithLcms(picture, profile)),
              kSameConversion);
}

TEST_F(ColourReadersTest, CmykPsdGoesThroughItsProfileOrThePressProfile) {
    const std::vector<std::uint8_t> press = pressCmykProfileBytes();
    ASSERT_FALSE(press.empty()) << "ghostscript's press profile is not installed";
    const int width = 40;
    const int height = 24;
    // Photoshop stores ink inverted: 0 is full ink.
    const std::vector<std::uint8_t> stored = cmykSamples(width, height);
    const auto planes = planesOf(stored.data(), static_cast<std::size_t>(width) * height, 4);
    const Bitmap expected =
        samplesThroughLcms(stored.data(), width, height, press, TYPE_CMYK_8_REV);

    const auto bare = psdWith(width, height, 4, planes, {});
    EXPECT_EQ(colourOf(PsdReader(), bare).kind, Kind::PressCmyk);
    EXPECT_LE(meanDifference(decoded(bare, "bare.psd"), expected), kSameConversion);

    const auto tagged = psdWith(width, height, 4, planes, press);
    EXPECT_EQ(colourName(colourOf(PsdReader(), tagged)).rfind("CMYK (ICC: ", 0), 0u);
    EXPECT_LE(meanDifference(decoded(tagged, "tagged.psd"), expected), kSameConversion);

    // An alpha channel after the ink changes nothing.
    auto withAlpha = planes;
    withAlpha.emplace_back(static_cast<std::size_t>(width) * height, 0);
    EXPECT_LE(
        meanDifference(decoded(psdWith(width, height, 4, withAlpha, {}), "alpha.psd"), expected),
        kSameConversion);
}

TEST_F(ColourReadersTest, JxlOriginalProfileIsFound) {
    const Bitmap picture = colourfulPicture(32, 16);
    const std::vector<std::uint8_t> p3 = displayP3Profile();
    JxlEncoder* encoder = JxlEncoderCreate(nullptr);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<std::uint32_t>(picture.width());
    info.ysize = static_cast<std::uint32_t>(picture.height());
    info.bits_per_sample = 8;
    info.uses_original_profile = JXL_TRUE;
    ASSERT_EQ(JxlEncoderSetBasicInfo(encoder, &info), JXL_ENC_SUCCESS);
    ASSERT_EQ(JxlEncoderSetICCProfile(encoder, p3.data(), p3.size()), JXL_ENC_SUCCESS);
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 1);
    const JxlPixelFormat format{3, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    ASSERT_EQ(
        JxlEncoderAddImageFrame(settings, &format, picture.row(0),
                                static_cast<std::size_t>(picture.width()) * picture.height() * 3),
        JXL_ENC_SUCCESS);
    JxlEncoderCloseInput(encoder);
    std::vector<std::uint8_t> file(1 << 16);
    std::uint8_t* next = file.data();
    std::size_t room = file.size();
    ASSERT_EQ(JxlEncoderProcessOutput(encoder, &next, &room), JXL_ENC_SUCCESS);
    file.resize(file.size() - room);
    JxlEncoderDestroy(encoder);

    const ColourDescription found = colourOf(JxlReader(), file);
    ASSERT_EQ(found.kind, Kind::Icc);
    EXPECT_LE(meanDifference(decoded(file, "p3.jxl"), convertedWithLcms(picture, found.icc)),
              kSameConversion);
    EXPECT_GT(meanDifference(decoded(file, "p3.jxl"), picture), 2.0);
}

TEST_F(ColourReadersTest, HeifProfileAndCodedColoursAreFound) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    if (heif_context_get_encoder_for_format(context, heif_compression_AV1, &encoder).code !=
        heif_error_Ok) {
        heif_context_free(context);
        GTEST_SKIP() << "libheif has no AV1 encoder";
    }
    const Bitmap picture = colourfulPicture(32, 16);
    const std::vector<std::uint8_t> p3 = displayP3Profile();
    heif_image* image = nullptr;
    heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                      heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(plane + static_cast<std::size_t>(y) * stride, picture.row(y), picture.stride());
    }
    heif_image_set_raw_color_profile(image, "prof", p3.data(), p3.size());
    ASSERT_EQ(heif_context_encode_image(context, image, encoder, nullptr, nullptr).code,
              heif_error_Ok);
    heif_image_release(image);
    heif_encoder_release(encoder);
    std::vector<std::uint8_t> file;
    heif_writer writer{1, [](heif_context*, const void* data, std::size_t size, void* out) {
                           const auto* bytes = static_cast<const std::uint8_t*>(data);
                           auto* target = static_cast<std::vector<std::uint8_t>*>(out);
                           target->insert(target->end(), bytes, bytes + size);
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
                       }};
    ASSERT_EQ(heif_context_write(context, &writer, &file).code, heif_error_Ok);
    heif_context_free(context);
    EXPECT_EQ(colourOf(HeifReader(), file).icc, p3);

    EXPECT_EQ(colourName(ColourDescription::cicp(12, 13)), "Display P3 (nclx)");
    EXPECT_TRUE(ColourDescription::cicp(1, 13).isSrgb());
    EXPECT_TRUE(colourUsable(ColourDescription::cicp(9, 1)));
}

} // namespace
} // namespace vellumar::testing
