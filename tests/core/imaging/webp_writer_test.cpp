#include <cstdint>
#include <string>
#include <vector>
#include <webp/decode.h>
#include <webp/demux.h>

#include <gtest/gtest.h>

#include "imaging/webp_writer.h"
#include "project_error.h"
#include "support/colour_fixtures.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Decoded by libwebp itself.
Bitmap decodeWithLibwebp(const Bytes& bytes) {
    int width = 0;
    int height = 0;
    std::uint8_t* pixels = WebPDecodeRGB(bytes.data(), bytes.size(), &width, &height);
    if (pixels == nullptr) {
        ADD_FAILURE() << "libwebp cannot decode the file";
        return {};
    }
    Bitmap bitmap(width, height);
    std::copy_n(pixels, bitmap.stride() * static_cast<std::size_t>(height), bitmap.row(0));
    WebPFree(pixels);
    return bitmap;
}

// The chunk of the given name, empty when the file has none.
Bytes chunk(const Bytes& bytes, const char* name) {
    const WebPData data{bytes.data(), bytes.size()};
    WebPDemuxer* demuxer = WebPDemux(&data);
    EXPECT_NE(demuxer, nullptr);
    Bytes found;
    WebPChunkIterator iterator;
    if (demuxer != nullptr && WebPDemuxGetChunk(demuxer, name, 1, &iterator) != 0) {
        found.assign(iterator.chunk.bytes, iterator.chunk.bytes + iterator.chunk.size);
        WebPDemuxReleaseChunkIterator(&iterator);
    }
    WebPDemuxDelete(demuxer);
    return found;
}

TEST(WebpWriter, DecodesToTheSizeAndCloseToThePixels) {
    // Odd sides, so that the half-resolution chroma has partial blocks at the edges.
    for (const auto& [width, height] : {std::pair{1, 1}, {45, 31}, {200, 133}}) {
        const Bitmap picture = testing::markedPicture(width, height);
        const Bitmap decoded = decodeWithLibwebp(encodeWebp(picture));
        ASSERT_EQ(decoded.width(), width);
        ASSERT_EQ(decoded.height(), height);
        // A smooth picture comes back within 2 levels on average, each sample within 12.
        EXPECT_LE(testing::meanDifference(decoded, picture), 2.0) << width << "x" << height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width * 3; ++x) {
                ASSERT_NEAR(decoded.row(y)[x], picture.row(y)[x], 12) << x / 3 << "," << y;
            }
        }
    }
    const Bitmap palette = decodeWithLibwebp(encodeWebp(Bitmap::withPalette(8, 8, {{0, 0, 255}})));
    EXPECT_NEAR(palette.pixel(4, 4).b, 255, 4);
    EXPECT_TRUE(encodeWebp(Bitmap()).empty());
}

TEST(WebpWriter, WritesTheProfileGivenAndNothingElseBesideThePicture) {
    const Bitmap picture = testing::markedPicture(64, 48);
    const Bytes profile = testing::displayP3Profile();
    const Bytes withProfile = encodeWebp(picture, profile);
    EXPECT_EQ(chunk(withProfile, "ICCP"), profile);
    const Bytes plain = encodeWebp(picture);
    EXPECT_TRUE(chunk(plain, "ICCP").empty());
    for (const Bytes* bytes : {&withProfile, &plain}) {
        EXPECT_TRUE(chunk(*bytes, "EXIF").empty());
        EXPECT_TRUE(chunk(*bytes, "XMP ").empty());
        WebPBitstreamFeatures features;
        ASSERT_EQ(WebPGetFeatures(bytes->data(), bytes->size(), &features), VP8_STATUS_OK);
        EXPECT_EQ(features.has_alpha, 0);
        EXPECT_EQ(features.format, 1); // lossy
    }
    // The profile adds its chunk; the picture's coding is the same.
    EXPECT_TRUE(testing::samePixels(decodeWithLibwebp(withProfile), decodeWithLibwebp(plain)));
}

TEST(WebpWriter, RefusesSidesLongerThanAWebpHolds) {
    EXPECT_EQ(decodeWithLibwebp(encodeWebp(Bitmap(kMaxWebpSide, 2))).width(), kMaxWebpSide);
    for (const auto& [width, height] : {std::pair{kMaxWebpSide + 1, 2}, {3, kMaxWebpSide + 1}}) {
        try {
            encodeWebp(Bitmap(width, height));
            FAIL() << "no error";
        } catch (const ProjectError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, but a WebP side holds at most 16383 pixels");
        }
    }
}

} // namespace
} // namespace vellumar
