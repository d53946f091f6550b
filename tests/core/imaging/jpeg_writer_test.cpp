#include <cstdint>
#include <jerror.h>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/jpeg_writer.h"
#include "project_error.h"
#include "support/libjpeg_decode.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::DecodedJpeg;
using testing::decodeWithLibjpeg;

// The start-of-frame markers in the stream: 0xC0 for baseline.
std::vector<int> frameMarkers(const Bytes& bytes) {
    std::vector<int> markers;
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == 0xFF;) {
        const int marker = bytes[at + 1];
        if (marker == 0xDA) { // scan data follows
            break;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            markers.push_back(marker);
        }
        at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    }
    return markers;
}

TEST(JpegWriter, WritesBaselineJfifAtQualityNinety) {
    const Bytes bytes = encodeJpeg(testing::markedPicture(40, 30), JpegCoding::Standard);
    EXPECT_EQ(frameMarkers(bytes), std::vector<int>{0xC0});
    const DecodedJpeg decoded = decodeWithLibjpeg(bytes);
    EXPECT_TRUE(decoded.jfif);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(decoded.lumaQuantizer, 3);
    ASSERT_EQ(decoded.picture.width(), 40);
    ASSERT_EQ(decoded.picture.height(), 30);
    for (const auto& [x, y] : {std::pair{0, 0}, {39, 0}, {20, 15}, {39, 29}}) {
        const Rgb got = decoded.picture.pixel(x, y);
        const Rgb want = testing::markOf(x, y);
        EXPECT_NEAR(got.r, want.r, 8) << x << "," << y;
        EXPECT_NEAR(got.g, want.g, 8) << x << "," << y;
        EXPECT_NEAR(got.b, want.b, 8) << x << "," << y;
    }
}

TEST(JpegWriter, SinglePixelAndPaletteBitmapsEncode) {
    const DecodedJpeg single =
        decodeWithLibjpeg(encodeJpeg(testing::filledPicture(1, 1, {200, 40, 90})));
    EXPECT_EQ(single.picture.width(), 1);
    EXPECT_NEAR(single.picture.pixel(0, 0).r, 200, 4);

    const DecodedJpeg palette =
        decodeWithLibjpeg(encodeJpeg(Bitmap::withPalette(8, 8, {{0, 0, 255}})));
    EXPECT_NEAR(palette.picture.pixel(4, 4).b, 255, 4);
}

TEST(JpegWriter, NoisyPictureOutgrowsTheFirstBufferAcrossManyChunks) {
    constexpr int kSide = 512;
    Bitmap noise(kSide, kSide);
    std::uint32_t seed = 1;
    for (std::size_t i = 0; i < noise.stride() * kSide; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.row(0)[i] = static_cast<std::uint8_t>(seed >> 24);
    }
    const Bytes bytes = encodeJpeg(noise);
    EXPECT_GT(bytes.size(), 2u * 64 * 1024);                // several of the writer's chunks
    EXPECT_GT(bytes.size(), kSide * kSide * 3u / 8 + 4096); // past the room made at first
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xD9); // ends with the end-of-image marker
    const DecodedJpeg decoded = decodeWithLibjpeg(bytes);
    EXPECT_EQ(decoded.picture.width(), kSide);
    EXPECT_NEAR(decoded.picture.pixel(kSide - 1, kSide - 1).g, noise.pixel(kSide - 1, kSide - 1).g,
                96); // the last rows arrived
}

// Noise with a smooth gradient under it: busy enough for fitted tables to differ from the
// standard ones, and odd sizes so that partial blocks are coded too.
Bitmap busyPicture(int width, int height) {
    Bitmap picture(width, height);
    std::uint32_t seed = 7;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = picture.row(y);
        for (int x = 0; x < width * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            row[x] = static_cast<std::uint8_t>((x + 2 * y) / 3 + (seed >> 28));
        }
    }
    return picture;
}

TEST(JpegWriter, FittedAndProgressiveCodingsDecodeToTheStandardCodingsPixels) {
    for (const auto& [width, height] : {std::pair{1, 1}, {37, 23}, {300, 211}}) {
        const Bitmap picture = busyPicture(width, height);
        const Bytes standard = encodeJpeg(picture, JpegCoding::Standard);
        const Bytes optimised = encodeJpeg(picture, JpegCoding::Optimised);
        const Bytes progressive = encodeJpeg(picture, JpegCoding::Progressive);
        const DecodedJpeg reference = decodeWithLibjpeg(standard);
        EXPECT_EQ(frameMarkers(optimised), std::vector<int>{0xC0});
        EXPECT_EQ(frameMarkers(progressive), std::vector<int>{0xC2});
        for (const Bytes* coded : {&optimised, &progressive}) {
            const DecodedJpeg decoded = decodeWithLibjpeg(*coded);
            EXPECT_EQ(decoded.lumaQuantizer, 3);
            EXPECT_TRUE(testing::samePixels(decoded.picture, reference.picture))
                << width << "x" << height;
        }
        if (width > 100) {
            EXPECT_LT(optimised.size(), standard.size());
        }
    }
}

TEST(JpegWriter, CodingIsChosenBySizeAndBufferedCodingsAreCountedInFull) {
    EXPECT_EQ(jpegCodingFor({3000, 2000}, false), JpegCoding::Optimised);
    EXPECT_EQ(jpegCodingFor({3000, 2000}, true), JpegCoding::Progressive);
    EXPECT_EQ(jpegCodingFor({3000, 3000}, true), JpegCoding::Progressive);
    EXPECT_EQ(jpegCodingFor({3000, 3001}, true), JpegCoding::Standard);
    // A 12-megapixel photo kept at its own size streams, as fast as it always did.
    EXPECT_EQ(jpegCodingFor({4000, 3000}, true), JpegCoding::Standard);
    EXPECT_EQ(jpegCodingFor({20'000, 20'000}, false), JpegCoding::Standard);
    // Three bytes a pixel, in whole 16 x 16 blocks: 188 x 125 of them.
    EXPECT_EQ(jpegCodingMemory({3000, 2000}), 18'048'000u);
    EXPECT_EQ(jpegCodingMemory({17, 1}), 2u * 768);
    EXPECT_EQ(jpegCodingMemory({4000, 3000}), 0u); // streamed
    EXPECT_EQ(jpegCodingMemory({20'000, 20'000}), 0u);
    EXPECT_EQ(jpegCodingMemoryWithin({3000, 2000}), 18'048'000u);
    // A smaller picture inside the box may still be buffered.
    EXPECT_EQ(jpegCodingMemoryWithin({20'000, 20'000}), jpegCodingMemory({3000, 3000}));
}

TEST(JpegWriter, EmptyBitmapGivesNoBytes) {
    EXPECT_TRUE(encodeJpeg(Bitmap()).empty());
    EXPECT_TRUE(encodeJpeg(Bitmap(5, 0)).empty());
}

TEST(JpegWriter, LibraryFailuresBecomeNumberedErrors) {
    // Wider than a JPEG frame can say: libjpeg refuses it with JERR_IMAGE_TOO_BIG.
    const Bitmap tooWide(65536, 1);
    try {
        encodeJpeg(tooWide);
        FAIL() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    }
}

} // namespace
} // namespace vellumar
