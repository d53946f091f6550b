#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/heif_reader.h"
#include "readers/jxl_reader.h"
#include "readers/webp_reader.h"

namespace vellumar::testing {
namespace {

// Lossless files decode to their source exactly; lossy ones within what their coders lose on
// smooth gradients (HEVC and AV1 halve the colour resolution as well; JPEG XL strays most in
// the corners of so small a picture).
INSTANTIATE_TEST_SUITE_P(WebP, ReferencePicture,
                         ::testing::ValuesIn(fixtureCases("webp",
                                                          {{"lossless.webp", "lossless.ppm"},
                                                           {"lossy.webp", "lossy.ppm", 12},
                                                           {"alpha.webp", "alpha.ppm", 1},
                                                           {"animated.webp", "animated.ppm"}})));
INSTANTIATE_TEST_SUITE_P(HeicAndAvif, ReferencePicture,
                         ::testing::Values(FixtureCase{"heic", "lossy.heic", "lossy.ppm", 16},
                                           FixtureCase{"avif", "lossy.avif", "lossy.ppm", 16},
                                           FixtureCase{"avif", "lossless.avif", "lossless.ppm"}));
INSTANTIATE_TEST_SUITE_P(JpegXl, ReferencePicture,
                         ::testing::ValuesIn(fixtureCases("jxl", {{"lossless.jxl", "lossless.ppm"},
                                                                  {"lossy.jxl", "lossy.ppm", 24},
                                                                  {"alpha.jxl", "alpha.ppm", 1}})));

TEST(ModernFormatsTest, EveryReaderRefusesEmptyAndForeignInput) {
    const WebpReader webp;
    const HeifReader heif;
    const JxlReader jxl;
    for (const PictureReader* reader :
         {static_cast<const PictureReader*>(&webp), static_cast<const PictureReader*>(&heif),
          static_cast<const PictureReader*>(&jxl)}) {
        expectEmptyInputRefused(*reader);
        EXPECT_FALSE(reader->sniff(fixtureBytes("png", "rgb8.png")));
    }
    EXPECT_TRUE(webp.sniff(fixtureBytes("webp", "animated.webp")));
    EXPECT_TRUE(heif.sniff(fixtureBytes("avif", "lossless.avif")));
    EXPECT_FALSE(heif.sniff(fixtureBytes("webp", "lossy.webp")));
    EXPECT_TRUE(jxl.sniff(fixtureBytes("jxl", "lossy.jxl")));
}

TEST(ModernFormatsTest, DamagedFilesAreRefusedWithTheirReason) {
    expectRefused("webp", {{"truncated-lossless.webp", "the WebP"}});
    expectRefused("heic", {{"truncated-lossy.heic", "the HEIF"}});
    expectRefused("avif", {{"truncated-lossy.avif", "the HEIF"}});
    expectRefused("jxl", {{"truncated-lossless.jxl", "the JPEG XL"}});
}

// The size check happens on the declared size, before the decoder is asked for pixels; the
// probe refuses the picture as well.
TEST(ModernFormatsTest, AnOversizedHeicIsRefusedBeforeDecoding) {
    const HeifReader heif;
    const std::vector<std::uint8_t> bytes = fixtureBytes("heic", "oversized.heic");
    EXPECT_THAT(decodeError(heif, bytes), ::testing::HasSubstr("65535"));
    EXPECT_THROW(heif.probe({bytes, "oversized.heic"}), ProjectError);
}

} // namespace
} // namespace vellumar::testing
