#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <libheif/heif.h>
#include <string>
#include <tiffio.h>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "colour/colour_conversion.h"
#include "colour/lcms_profile.h"
#include "project_error.h"
#include "readers/heif_reader.h"
#include "readers/picture_loader.h"
#include "readers/psd_reader.h"
#include "readers/reader_table.h"
#include "readers/tiff_reader.h"
#include "support/colour_fixtures.h"
#include "support/file_contents.h"
#include "support/psd_file.h"
#include "support/scratch_folder.h"

namespace vellumar::testing {
namespace {

using ::testing::StartsWith;

// Samples converted at their full precision by the test and by the program agree to within
// this mean difference (of 255 levels).
constexpr double kSameConversion = 0.5;

// What a TIFF's first page holds, as the test writes it: rows of samples without gaps, stored
// in strips or in square tiles.
struct TiffPage {
    int width = 0;
    int height = 0;
    int samples = 3;
    int bits = 16;
    std::uint16_t photometric = PHOTOMETRIC_RGB;
    std::vector<std::uint16_t> extra; // EXTRASAMPLES, when there are some
    std::vector<std::uint8_t> profile;
    std::vector<std::uint8_t> data; // native 16-bit words, or bytes
    int tile = 0;                   // the side of a tile, or 0 for strips
};

void writeTiff(const std::string& path, const TiffPage& page) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, page.bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    if (!page.extra.empty()) {
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, static_cast<std::uint16_t>(page.extra.size()),
                     page.extra.data());
    }
    if (!page.profile.empty()) {
        TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(page.profile.size()),
                     page.profile.data());
    }
    const auto pixelBytes = static_cast<std::size_t>(page.samples * (page.bits / 8));
    const std::size_t rowBytes = static_cast<std::size_t>(page.width) * pixelBytes;
    const auto rowOf = [&](int y) {
        return page.data.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
    };
    if (page.tile == 0) {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4);
        std::vector<std::uint8_t> row(rowBytes);
        for (int y = 0; y < page.height; ++y) {
            std::copy_n(rowOf(y), rowBytes, row.begin());
            TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0);
        }
        TIFFClose(tiff);
        return;
    }
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, page.tile);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, page.tile);
    const std::size_t tileRowBytes = static_cast<std::size_t>(page.tile) * pixelBytes;
    std::vector<std::uint8_t> tile(tileRowBytes * page.tile);
    for (int top = 0; top < page.height; top += page.tile) {
        for (int left = 0; left < page.width; left += page.tile) {
            // Past the picture's edges, a tile holds zeros.
            std::fill(tile.begin(), tile.end(), 0);
            const std::size_t pieceBytes = std::min(page.tile, page.width - left) * pixelBytes;
            for (int y = top; y < std::min(top + page.tile, page.height); ++y) {
                std::copy_n(rowOf(y) + static_cast<std::ptrdiff_t>(left * pixelBytes), pieceBytes,
                            tile.begin() + static_cast<std::ptrdiff_t>((y - top) * tileRowBytes));
            }
            TIFFWriteTile(tiff, tile.data(), static_cast<std::uint32_t>(left),
                          static_cast<std::uint32_t>(top), 0, 0);
        }
    }
    TIFFClose(tiff);
}

template <typename T>
std::vector<std::uint8_t> bytesOf(const std::vector<T>& values) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(values.data());
    return {first, first + values.size() * sizeof(T)};
}

// Smooth 16-bit ramps whose low bytes matter: dark, saturated colours that a curve of 1.8
// spreads apart.
std::vector<std::uint16_t> deepRamps(int width, int height, int samples) {
    std::vector<std::uint16_t> words;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double across = static_cast<double>(x) / (width - 1);
            const double down = static_cast<double>(y) / (height - 1);
            const std::array<double, 4> unit{0.12 * across, 0.02 + 0.1 * down, 0.3 * across * down,
                                             1 - 0.8 * across};
            for (int s = 0; s < samples; ++s) {
                words.push_back(static_cast<std::uint16_t>(std::lround(65535 * unit[s])));
            }
        }
    }
    return words;
}

class DeepColourReadersTest : public ::testing::Test {
protected:
    PictureFile tiffFile(const TiffPage& page, const std::string& name) {
        const std::string path = scratch.folder() + name;
        writeTiff(path, page);
        return PictureFile(path, pictureFormats());
    }
    ScratchFolder scratch;
};

// --- TIFF ---

TEST_F(DeepColourReadersTest, SixteenBitTiffIsConvertedBeforeItIsCut) {
    const int width = 96;
    const int height = 40;
    const std::vector<std::uint8_t> profile = proPhotoLikeProfile();
    const std::vector<std::uint16_t> words = deepRamps(width, height, 3);
    const PictureFile file =
        tiffFile({width, height, 3, 16, PHOTOMETRIC_RGB, {}, profile, bytesOf(words)}, "rgb.tif");
    EXPECT_EQ(file.colour().icc, profile);
    const Bitmap shown = file.decode();
    const Bitmap full = samplesThroughLcms(words.data(), width, height, profile, TYPE_RGB_16);
    EXPECT_LE(meanDifference(shown, full), 0.05);
    // Cutting first loses what the curve spreads: the difference this is about.
    std::vector<std::uint8_t> cut;
    for (const std::uint16_t word : words) {
        cut.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    const Bitmap cutFirst = samplesThroughLcms(cut.data(), width, height, profile, TYPE_RGB_8);
    EXPECT_GT(meanDifference(cutFirst, full), 0.3);
    // Untagged, the samples are sRGB and nothing is converted.
    const PictureFile untagged =
        tiffFile({width, height, 3, 16, PHOTOMETRIC_RGB, {}, {}, bytesOf(words)}, "plain.tif");
    EXPECT_TRUE(untagged.colour().isSrgb());
    Bitmap rounded = Bitmap::uninitialized(width, height);
    for (std::size_t i = 0; i < words.size(); ++i) {
        rounded.row(0)[i] = static_cast<std::uint8_t>(std::lround(words[i] / 257.0));
    }
    EXPECT_LE(meanDifference(untagged.decode(), rounded), kSameConversion);
}

TEST_F(DeepColourReadersTest, SixteenBitTiffWithAlphaOrGrayIsLaidOntoWhiteThenConverted) {
    const int width = 64;
    const int height = 24;
    const std::vector<std::uint8_t> rgbProfile = displayP3Profile();
    for (const std::uint16_t kind : {EXTRASAMPLE_UNASSALPHA, EXTRASAMPLE_ASSOCALPHA}) {
        std::vector<std::uint16_t> words = deepRamps(width, height, 4);
        std::vector<std::uint16_t> onWhite;
        for (std::size_t i = 0; i < words.size(); i += 4) {
            const double alpha = words[i + 3] / 65535.0;
            for (std::size_t c = 0; c < 3; ++c) {
                if (kind == EXTRASAMPLE_ASSOCALPHA) {
                    words[i + c] = static_cast<std::uint16_t>(std::lround(words[i + c] * alpha));
                }
                const double own =
                    kind == EXTRASAMPLE_ASSOCALPHA ? words[i + c] : words[i + c] * alpha;
                onWhite.push_back(
                    static_cast<std::uint16_t>(std::lround(own + 65535 * (1 - alpha))));
            }
        }
        const PictureFile file = tiffFile(
            {width, height, 4, 16, PHOTOMETRIC_RGB, {kind}, rgbProfile, bytesOf(words)}, "a.tif");
        EXPECT_LE(meanDifference(file.decode(), samplesThroughLcms(onWhite.data(), width, height,
                                                                   rgbProfile, TYPE_RGB_16)),
                  kSameConversion)
            << kind;
    }

    const std::vector<std::uint8_t> gray = grayProfile(1.8);
    const std::vector<std::uint16_t> levels = deepRamps(width, height, 1);
    const PictureFile file = tiffFile(
        {width, height, 1, 16, PHOTOMETRIC_MINISBLACK, {}, gray, bytesOf(levels)}, "gray.tif");
    EXPECT_EQ(colourName(file.colour()), "Gray (ICC: Gray test)");
    EXPECT_LE(meanDifference(file.decode(),
                             samplesThroughLcms(levels.data(), width, height, gray, TYPE_GRAY_16)),
              kSameConversion);
}

// L*a*b* colours across the range that pictures use, some beyond what sRGB shows.
std::vector<cmsCIELab> labColours(int width, int height) {
    std::vector<cmsCIELab> colours;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double hue = 2 * M_PI * x / width;
            const double chroma = 90.0 * y / (height - 1);
            colours.push_back(
                {8 + 88.0 * (x % 16) / 15, chroma * std::cos(hue), chroma * std::sin(hue)});
        }
    }
    return colours;
}

// The colours as a TIFF stores them: L* scaled to the samples' range, a* and b* signed (in
// 256ths with 16 bits); and those stored values read back, which is the reference.
std::vector<std::uint8_t> storedLab(std::vector<cmsCIELab>& colours, int bits) {
    std::vector<std::uint8_t> bytes;
    for (cmsCIELab& lab : colours) {
        if (bits == 8) {
            const long l = std::lround(lab.L * 255 / 100);
            const long a = std::clamp(std::lround(lab.a), -128L, 127L);
            const long b = std::clamp(std::lround(lab.b), -128L, 127L);
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(a),
                                       static_cast<std::uint8_t>(b)});
            lab = {l * 100.0 / 255, static_cast<double>(a), static_cast<double>(b)};
        } else {
            const std::vector<std::uint16_t> words{
                static_cast<std::uint16_t>(std::lround(lab.L * 65535 / 100)),
                static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(lab.a * 256))),
                static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(lab.b * 256)))};
            const std::vector<std::uint8_t> wordBytes = bytesOf(words);
            bytes.insert(bytes.end(), wordBytes.begin(), wordBytes.end());
            lab = {words[0] * 100.0 / 65535, static_cast<std::int16_t>(words[1]) / 256.0,
                   static_cast<std::int16_t>(words[2]) / 256.0};
        }
    }
    return bytes;
}

TEST_F(DeepColourReadersTest, CieLabTiffGoesThroughTheLabProfile) {
    const int width = 72;
    const int height = 20;
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    for (const int bits : {8, 16}) {
        std::vector<cmsCIELab> colours = labColours(width, height);
        const std::vector<std::uint8_t> stored = storedLab(colours, bits);
        const PictureFile file =
            tiffFile({width, height, 3, bits, PHOTOMETRIC_CIELAB, {}, {}, stored}, "lab.tif");
        EXPECT_EQ(colourName(file.colour()), "CIELab");
        const Bitmap expected =
            samplesThroughLcms(colours.data(), width, height, lab, TYPE_Lab_DBL);
        EXPECT_LE(meanDifference(file.decode(), expected), kSameConversion) << bits;
    }
    cmsCloseProfile(lab);
    // L*a*b* holds colours beyond sRGB: a wide-gamut gallery shows them in Display P3.
    EXPECT_EQ(outputSpaceFor(ColourDescription::cieLab(), true), ColourSpace::DisplayP3);
}

TEST_F(DeepColourReadersTest, TruncatedSixteenBitTiffIsRefused) {
    const int width = 64;
    const int height = 32;
    const std::vector<std::uint16_t> words = deepRamps(width, height, 3);
    const std::string path = scratch.folder() + "cut.tif";
    writeTiff(path,
              {width, height, 3, 16, PHOTOMETRIC_RGB, {}, adobeLikeProfile(), bytesOf(words)});
    std::vector<std::uint8_t> bytes = readFileBytes(path);
    // The strips come before the directory: damage the middle of them.
    for (std::size_t i = 200; i < 2000 && i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7);
    }
    const TiffReader reader;
    EXPECT_THROW(reader.decode({bytes, path}), ProjectError);
}

TEST_F(DeepColourReadersTest, TiledTiffDecodesAsTheSamePictureInStrips) {
    // Tiles of 32 leave partial ones at the right and bottom edges.
    const int width = 72;
    const int height = 40;
    const auto ramps = [&](int samples) { return bytesOf(deepRamps(width, height, samples)); };
    const std::uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
    std::vector<TiffPage> pages{
        {width, height, 3, 16, PHOTOMETRIC_RGB, {}, displayP3Profile(), ramps(3)},
        {width, height, 4, 16, PHOTOMETRIC_RGB, {alpha}, proPhotoLikeProfile(), ramps(4)},
        {width, height, 1, 16, PHOTOMETRIC_MINISBLACK, {}, grayProfile(1.8), ramps(1)}};
    for (const int bits : {8, 16}) {
        std::vector<cmsCIELab> colours = labColours(width, height);
        pages.push_back(
            {width, height, 3, bits, PHOTOMETRIC_CIELAB, {}, {}, storedLab(colours, bits)});
    }
    for (const TiffPage& page : pages) {
        TiffPage tiled = page;
        tiled.tile = 32;
        const Bitmap inStrips = tiffFile(page, "strips.tif").decode();
        const Bitmap inTiles = tiffFile(tiled, "tiles.tif").decode();
        // The same conversion of the same samples: not a level apart anywhere.
        EXPECT_EQ(meanDifference(inTiles, inStrips), 0.0)
            << page.photometric << " " << page.samples << " " << page.bits;
    }
}

TEST_F(DeepColourReadersTest, IccLabTiffHoldsItsAAndBUnsigned) {
    const int width = 72;
    const int height = 20;
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    for (const int bits : {8, 16}) {
        // Stored as a profile stores L*a*b*, which Little CMS reads as it is.
        std::vector<std::uint8_t> stored;
        for (const cmsCIELab& colour : labColours(width, height)) {
            std::array<std::uint16_t, 3> words{};
            cmsFloat2LabEncoded(words.data(), &colour);
            for (const std::uint16_t word : words) {
                if (bits == 8) {
                    stored.push_back(static_cast<std::uint8_t>(std::lround(word / 257.0)));
                } else {
                    const std::vector<std::uint8_t> wordBytes = bytesOf(std::vector{word});
                    stored.insert(stored.end(), wordBytes.begin(), wordBytes.end());
                }
            }
        }
        const Bitmap expected = samplesThroughLcms(stored.data(), width, height, lab,
                                                   bits == 8 ? TYPE_Lab_8 : TYPE_Lab_16);
        for (const int tile : {0, 16}) {
            const PictureFile file = tiffFile(
                {width, height, 3, bits, PHOTOMETRIC_ICCLAB, {}, {}, stored, tile}, "icclab.tif");
            EXPECT_EQ(colourName(file.colour()), "CIELab");
            EXPECT_LE(meanDifference(file.decode(), expected), kSameConversion)
                << bits << " " << tile;
        }
    }
    cmsCloseProfile(lab);
}

// Sets value `index` of `tag` in the first directory of a classic TIFF in this machine's byte
// order, as libtiff writes them here, whether the tag holds shorts or longs. A tag of one
// value becomes a long, to hold any value.
void setTagValue(std::vector<std::uint8_t>& bytes, std::uint16_t tag, std::uint32_t index,
                 std::uint32_t value) {
    const auto number = [&](std::size_t at, std::size_t size) {
        std::uint32_t read = 0;
        std::memcpy(&read, bytes.data() + at, size);
        return read;
    };
    const std::size_t directory = number(4, 4);
    for (std::uint32_t entry = 0; entry < number(directory, 2); ++entry) {
        const std::size_t at = directory + 2 + 12 * entry;
        if (number(at, 2) == tag) {
            if (number(at + 4, 4) == 1) {
                const std::uint16_t longType = TIFF_LONG;
                std::memcpy(bytes.data() + at + 2, &longType, 2);
            }
            const std::size_t size = number(at + 2, 2) == TIFF_SHORT ? 2 : 4;
            const std::size_t values = number(at + 4, 4) * size <= 4 ? at + 8 : number(at + 8, 4);
            std::memcpy(bytes.data() + values + index * size, &value, size);
            return;
        }
    }
    ADD_FAILURE() << "no tag " << tag;
}

TEST_F(DeepColourReadersTest, TiledTiffWithUnusableTilesIsRefused) {
    const int width = 72;
    const int height = 40;
    const std::string path = scratch.folder() + "tiles.tif";
    writeTiff(path, {width,
                     height,
                     3,
                     16,
                     PHOTOMETRIC_RGB,
                     {},
                     adobeLikeProfile(),
                     bytesOf(deepRamps(width, height, 3)),
                     32});
    const std::vector<std::uint8_t> written = readFileBytes(path);
    const TiffReader reader;
    ASSERT_EQ(reader.decode({written, path}).width(), width);
    struct Damage {
        std::uint16_t tag;
        std::uint32_t index;
        std::uint32_t value;
    };
    const Damage damages[] = {
        {TIFFTAG_TILEWIDTH, 0, 0},         {TIFFTAG_TILELENGTH, 0, 0},
        {TIFFTAG_TILEWIDTH, 0, 48},        // larger than the tiles written
        {TIFFTAG_TILEWIDTH, 0, 16},        // more tiles than the file has
        {TIFFTAG_TILEWIDTH, 0, 1U << 27},  // a row of a tile far larger than memory allows
        {TIFFTAG_TILELENGTH, 0, 1U << 24}, // a tile likewise
        {TIFFTAG_TILEBYTECOUNTS, 4, 100},  // a tile cut short
    };
    for (const Damage& damage : damages) {
        std::vector<std::uint8_t> bytes = written;
        setTagValue(bytes, damage.tag, damage.index, damage.value);
        try {
            reader.decode({bytes, path});
            ADD_FAILURE() << damage.tag << " " << damage.value << " was decoded";
        } catch (const ProjectError& error) {
            EXPECT_THAT(error.what(), StartsWith("the TIFF data cannot be decoded: "))
                << damage.tag << " " << damage.value;
        }
    }
}

// --- Photoshop ---

// The planes of interleaved 16-bit samples, as a Photoshop file stores them: big-endian.
std::vector<std::vector<std::uint8_t>> psdPlanes(const std::vector<std::uint16_t>& words,
                                                 int samples) {
    std::vector<std::vector<std::uint8_t>> planes(static_cast<std::size_t>(samples));
    for (std::size_t i = 0; i < words.size(); ++i) {
        auto& plane = planes[i % planes.size()];
        plane.push_back(static_cast<std::uint8_t>(words[i] >> 8));
        plane.push_back(static_cast<std::uint8_t>(words[i]));
    }
    return planes;
}

// The samples cut to 8 bits as the reader cuts the ones it does not convert.
std::vector<std::uint8_t> cutToBytes(const std::vector<std::uint16_t>& words) {
    std::vector<std::uint8_t> cut;
    for (const std::uint16_t word : words) {
        cut.push_back(static_cast<std::uint8_t>(std::lround(word / 257.0)));
    }
    return cut;
}

// A 16-bit Photoshop picture as the tests write it.
struct DeepPsdCase {
    int mode = 3;  // 1 gray, 3 RGB
    int extra = 0; // alpha channels after the colour ones
    bool packBits = false;
};

TEST_F(DeepColourReadersTest, SixteenBitPsdIsConvertedBeforeItIsCut) {
    const int width = 96;
    const int height = 40;
    const std::vector<std::uint8_t> wide = proPhotoLikeProfile();
    const std::vector<std::uint8_t> gray = grayProfile(1.8);
    const DeepPsdCase cases[] = {
        {3, 0, false}, {3, 0, true}, {3, 1, true}, {1, 0, false}, {1, 1, true}};
    for (const DeepPsdCase& c : cases) {
        const bool rgb = c.mode == 3;
        const std::string name = std::string(rgb ? "RGB" : "gray") +
                                 (c.packBits ? " packed" : " raw") + (c.extra ? " with alpha" : "");
        const std::vector<std::uint8_t>& profile = rgb ? wide : gray;
        const std::vector<std::uint16_t> words = deepRamps(width, height, rgb ? 3 : 1);
        auto planes = psdPlanes(words, rgb ? 3 : 1);
        planes.insert(
            planes.end(), static_cast<std::size_t>(c.extra),
            std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height * 2, 0x5A));
        const auto bytes = psdWith(width, height, c.mode, planes, profile, 16, c.packBits);
        EXPECT_TRUE(PsdReader().convertsColour({bytes, "deep.psd"})) << name;
        const std::string path = scratch.folder() + "deep.psd";
        writeFile(path, std::string(bytes.begin(), bytes.end()));
        const Bitmap shown = PictureFile(path, pictureFormats()).decode();

        const Bitmap full = samplesThroughLcms(words.data(), width, height, profile,
                                               rgb ? TYPE_RGB_16 : TYPE_GRAY_16);
        const std::vector<std::uint8_t> cut = cutToBytes(words);
        const Bitmap cutFirst =
            samplesThroughLcms(cut.data(), width, height, profile, rgb ? TYPE_RGB_8 : TYPE_GRAY_8);
        const double difference = meanDifference(shown, full);
        EXPECT_LE(difference, 0.05) << name;
        EXPECT_LT(difference * 4, meanDifference(cutFirst, full)) << name;
    }
    // CMYK, stored inverted, goes through its own profile, else the press profile.
    std::vector<std::uint16_t> ink = deepRamps(width, height, 4);
    for (std::uint16_t& word : ink) {
        word = static_cast<std::uint16_t>(65535 - word / 2); // light inks, where steps show
    }
    const std::vector<std::uint8_t> press = pressCmykProfileBytes();
    for (const bool own : {true, false}) {
        const auto bytes = psdWith(width, height, 4, psdPlanes(ink, 4),
                                   own ? press : std::vector<std::uint8_t>{}, 16);
        EXPECT_TRUE(PsdReader().convertsColour({bytes, "cmyk.psd"})) << own;
        const Bitmap shown = PsdReader().decode({bytes, "cmyk.psd"});
        const Bitmap full = samplesThroughLcms(ink.data(), width, height, press, TYPE_CMYK_16_REV);
        const std::vector<std::uint8_t> cut = cutToBytes(ink);
        const Bitmap cutFirst =
            samplesThroughLcms(cut.data(), width, height, press, TYPE_CMYK_8_REV);
        const double difference = meanDifference(shown, full);
        EXPECT_LE(difference, 0.05) << own;
        EXPECT_LT(difference * 4, meanDifference(cutFirst, full)) << own;
    }
    // Untagged, the samples are sRGB: cut as ever, and nothing is converted.
    const std::vector<std::uint16_t> words = deepRamps(width, height, 3);
    const auto untagged = psdWith(width, height, 3, psdPlanes(words, 3), {}, 16);
    EXPECT_FALSE(PsdReader().convertsColour({untagged, "plain.psd"}));
    Bitmap rounded = Bitmap::uninitialized(width, height);
    const std::vector<std::uint8_t> cut = cutToBytes(words);
    std::copy(cut.begin(), cut.end(), rounded.row(0));
    EXPECT_EQ(meanDifference(PsdReader().decode({untagged, "plain.psd"}), rounded), 0.0);
    // So are they when the profile's length runs past its resources: there is no profile.
    auto overlong = psdWith(width, height, 3, psdPlanes(words, 3), proPhotoLikeProfile(), 16);
    overlong[43] = 0xFF; // the high bytes of the profile's length, after 42 bytes of headers
    overlong[44] = 0xFF;
    EXPECT_FALSE(PsdReader().convertsColour({overlong, "overlong.psd"}));
    EXPECT_EQ(meanDifference(PsdReader().decode({overlong, "overlong.psd"}), rounded), 0.0);
}

TEST_F(DeepColourReadersTest, DamagedSixteenBitPsdIsRefused) {
    const int width = 64;
    const int height = 16;
    const auto planes = psdPlanes(deepRamps(width, height, 3), 3);
    const std::vector<std::uint8_t> profile = adobeLikeProfile();
    const PsdReader reader;
    const auto refusal = [&](const std::vector<std::uint8_t>& bytes) {
        try {
            reader.decode({bytes, "damaged.psd"});
        } catch (const ProjectError& error) {
            return std::string(error.what());
        }
        return std::string("decoded");
    };
    for (const bool packBits : {false, true}) {
        std::vector<std::uint8_t> bytes = psdWith(width, height, 3, planes, profile, 16, packBits);
        ASSERT_TRUE(reader.convertsColour({bytes, "deep.psd"}));
        bytes.resize(bytes.size() - 7);
        EXPECT_EQ(refusal(bytes), "the file is truncated") << packBits;
    }
    // The count of the last packed row claims more than the file holds, or less than a row
    // can be packed into. The counts start where the raw file's planes do.
    const std::vector<std::uint8_t> packed = psdWith(width, height, 3, planes, profile, 16, true);
    const std::size_t counts = psdWith(width, height, 3, planes, profile, 16).size() -
                               static_cast<std::size_t>(3 * width * height) * 2;
    const std::size_t last = counts + static_cast<std::size_t>(3 * height - 1) * 2;
    for (const auto& [count, reason] :
         {std::pair{0x7FFF, "the file is truncated"},
          std::pair{1, "a Photoshop row unpacks to fewer bytes than the row holds"}}) {
        std::vector<std::uint8_t> bytes = packed;
        bytes[last] = static_cast<std::uint8_t>(count >> 8);
        bytes[last + 1] = static_cast<std::uint8_t>(count);
        EXPECT_EQ(refusal(bytes), reason) << count;
    }
}

// --- HEIF ---

// What a 10-bit HEIF picture is made of: its samples (0 to 1023, R G B a pixel) and its
// colours, a profile or coded primaries and transfer.
struct HeifPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint16_t> samples;
    std::vector<std::uint8_t> profile;
    int primaries = 0; // with transfer, an nclx box instead of the profile
    int transfer = 0;
};

heif_error appendTo(heif_context*, const void* data, std::size_t size, void* out) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    auto* target = static_cast<std::vector<std::uint8_t>*>(out);
    target->insert(target->end(), bytes, bytes + size);
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

// The picture encoded by libheif as HEVC; empty when libheif has no HEVC encoder. (AVIF is
// decoded the same way, but libaom 3.6 aborts on an assertion when asked for 10-bit
// pictures, so no test can make one.)
std::vector<std::uint8_t> heifWith(const HeifPicture& picture) {
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    if (heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code !=
        heif_error_Ok) {
        heif_context_free(context);
        return {};
    }
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_encoder_set_parameter(encoder, "preset", "ultrafast");
    heif_image* image = nullptr;
    heif_image_create(picture.width, picture.height, heif_colorspace_RGB,
                      heif_chroma_interleaved_RRGGBB_LE, &image);
    heif_image_add_plane(image, heif_channel_interleaved, picture.width, picture.height, 10);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height; ++y) {
        for (int i = 0; i < picture.width * 3; ++i) {
            const std::uint16_t sample =
                picture.samples[static_cast<std::size_t>(y) * picture.width * 3 + i];
            plane[static_cast<std::size_t>(y) * stride + 2 * i] = static_cast<std::uint8_t>(sample);
            plane[static_cast<std::size_t>(y) * stride + 2 * i + 1] =
                static_cast<std::uint8_t>(sample >> 8);
        }
    }
    heif_encoding_options* options = heif_encoding_options_alloc();
    heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
    if (!picture.profile.empty()) {
        heif_image_set_raw_color_profile(image, "prof", picture.profile.data(),
                                         picture.profile.size());
    } else {
        heif_nclx_color_profile_set_color_primaries(nclx,
                                                    static_cast<std::uint16_t>(picture.primaries));
        heif_nclx_color_profile_set_transfer_characteristics(
            nclx, static_cast<std::uint16_t>(picture.transfer));
        heif_image_set_nclx_color_profile(image, nclx);
        options->macOS_compatibility_workaround_no_nclx_profile = 0;
    }
    std::vector<std::uint8_t> file;
    heif_writer writer{1, appendTo};
    const bool encoded =
        heif_context_encode_image(context, image, encoder, options, nullptr).code ==
            heif_error_Ok &&
        heif_context_write(context, &writer, &file).code == heif_error_Ok;
    heif_nclx_color_profile_free(nclx);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return encoded ? file : std::vector<std::uint8_t>{};
}

// The file decoded by libheif itself at its full depth, as 16-bit RGB; and its depth.
std::vector<std::uint16_t> heifFullDepth(const std::vector<std::uint8_t>& file, int& bits) {
    heif_context* context = heif_context_alloc();
    heif_context_read_from_memory_without_copy(context, file.data(), file.size(), nullptr);
    heif_image_handle* handle = nullptr;
    heif_context_get_primary_image_handle(context, &handle);
    heif_image* image = nullptr;
    heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RRGGBB_LE,
                      nullptr);
    bits = heif_image_get_bits_per_pixel_range(image, heif_channel_interleaved);
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    const double top = (1 << bits) - 1;
    std::vector<std::uint16_t> words;
    for (int y = 0; y < height; ++y) {
        for (int i = 0; i < width * 3; ++i) {
            const std::uint8_t* at = plane + static_cast<std::size_t>(y) * stride + 2 * i;
            words.push_back(
                static_cast<std::uint16_t>(std::lround((at[0] | at[1] << 8) * 65535 / top)));
        }
    }
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
    return words;
}

// 10-bit ramps of dark, saturated colours.
std::vector<std::uint16_t> tenBitRamps(int width, int height) {
    std::vector<std::uint16_t> samples;
    for (const std::uint16_t word : deepRamps(width, height, 3)) {
        samples.push_back(static_cast<std::uint16_t>(std::lround(word / 65535.0 * 1023 * 2)));
    }
    return samples;
}

TEST_F(DeepColourReadersTest, TenBitHeifIsConvertedBeforeItIsCut) {
    const int width = 64;
    const int height = 32;
    for (const bool coded : {false, true}) {
        HeifPicture picture{width, height, tenBitRamps(width, height), {}, 0, 0};
        if (coded) {
            picture.primaries = 9; // BT.2020 with the camera curve
            picture.transfer = 1;
        } else {
            picture.profile = proPhotoLikeProfile();
        }
        const std::vector<std::uint8_t> file = heifWith(picture);
        if (file.empty()) {
            GTEST_SKIP() << "libheif has no HEVC encoder";
        }
        const ColourDescription colour = HeifReader().colour({file, "test"});
        EXPECT_EQ(colour.kind,
                  coded ? ColourDescription::Kind::Cicp : ColourDescription::Kind::Icc);
        int bits = 0;
        const std::vector<std::uint16_t> full = heifFullDepth(file, bits);
        EXPECT_EQ(bits, 10);
        const LcmsProfile source = profileOf(colour);
        const Bitmap expected =
            samplesThroughLcms(full.data(), width, height, source.get(), TYPE_RGB_16);
        const std::string path = scratch.folder() + "deep.heic";
        writeFile(path, std::string(file.begin(), file.end()));
        EXPECT_LE(meanDifference(PictureFile(path, pictureFormats()).decode(), expected), 0.05)
            << coded;
    }
    // An sRGB picture is decoded to 8 bits as ever.
    HeifPicture plain{width, height, tenBitRamps(width, height), {}, 1, 13};
    EXPECT_FALSE(HeifReader().convertsColour({heifWith(plain), "test"}));
}

} // namespace
} // namespace vellumar::testing
