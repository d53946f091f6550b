#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/gif_first_frame.h"
#include "readers/gif_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

// Each reference is what headless Chromium showed for the picture on a white page.
INSTANTIATE_TEST_SUITE_P(GifAsBrowsersShowIt, ReferencePicture,
                         ::testing::ValuesIn(testing::fixtureCases(
                             "browser", {{"many-colours.gif", "many-colours.ppm"},
                                         {"disposal.gif", "disposal.ppm"},
                                         {"first-frame.gif", "first-frame.ppm"},
                                         {"empty-block.gif", "empty-block.ppm"},
                                         {"empty-then-picture.gif", "empty-then-picture.ppm"},
                                         {"deferred-clear.gif", "deferred-clear.ppm"}})));

TEST(GifReader, CountsTheBlocksOfTheFirstFrameOnly) {
    const auto blocks = [](const char* name) {
        return imageBlocksOfFirstFrame(testing::fixtureBytes("browser", name));
    };
    EXPECT_EQ(blocks("many-colours.gif"), 4);
    EXPECT_EQ(blocks("disposal.gif"), 5);
    EXPECT_EQ(blocks("first-frame.gif"), 2);
    EXPECT_EQ(imageBlocksOfFirstFrame(testing::fixtureBytes("gif", "animated.gif")), 1);
}

// The walk stops where the structure does; the decoder is left to judge the rest.
TEST(GifReader, CountsNoFurtherThanTheDataGoes) {
    std::vector<std::uint8_t> bytes = testing::fixtureBytes("browser", "many-colours.gif");
    const Bytes cutInSecondBlock = Bytes(bytes).first(bytes.size() / 2);
    EXPECT_EQ(imageBlocksOfFirstFrame(cutInSecondBlock), 2);
    EXPECT_THAT(
        testing::decodeError(GifReader(), {cutInSecondBlock.begin(), cutInSecondBlock.end()}),
        ::testing::StartsWith("the GIF data cannot be decoded"));
    EXPECT_EQ(imageBlocksOfFirstFrame(Bytes(bytes).first(12)), 0);
    bytes.back() = 0x99; // no trailer, something else in its place
    EXPECT_EQ(imageBlocksOfFirstFrame(bytes), 4);
    EXPECT_TRUE(testing::matchesPicture(GifReader().decode({bytes, "no trailer"}),
                                        testing::referencePicture("browser", "many-colours.ppm")));
}

TEST(GifReader, KeepsThePaletteOnlyForOneOpaqueBlockThatFillsTheScreen) {
    EXPECT_EQ(testing::decodeFixture(GifReader(), "gif", "animated.gif").layout(),
              Bitmap::Layout::Palette8);
    EXPECT_EQ(testing::decodeFixture(GifReader(), "browser", "many-colours.gif").layout(),
              Bitmap::Layout::Rgb24);
}

} // namespace
} // namespace vellumar
