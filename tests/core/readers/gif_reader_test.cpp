#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/gif_blocks.h"
#include "readers/gif_lzw.h"
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
                                         {"looping-no-delay.gif", "looping-no-delay.ppm"},
                                         {"gif87a-several.gif", "gif87a-several.ppm"},
                                         {"empty-block.gif", "empty-block.ppm"},
                                         {"empty-then-picture.gif", "empty-then-picture.ppm"},
                                         {"coded-empty-blocks.gif", "coded-empty-blocks.ppm"},
                                         {"short-data.gif", "short-data.ppm"},
                                         {"deferred-clear.gif", "deferred-clear.ppm"},
                                         {"full-table.gif", "full-table.ppm"}})));

std::size_t firstFrameBlocks(const char* folder, const char* name) {
    return readGifBlocks(testing::fixtureBytes(folder, name)).firstFrameBlocks();
}

TEST(GifReader, CombinesBlocksWithoutDelayOnlyInAStillGif89a) {
    EXPECT_EQ(firstFrameBlocks("browser", "many-colours.gif"), 4u);
    EXPECT_EQ(firstFrameBlocks("browser", "disposal.gif"), 5u);
    EXPECT_EQ(firstFrameBlocks("browser", "first-frame.gif"), 2u); // up to the first delay
    EXPECT_EQ(firstFrameBlocks("browser", "looping-no-delay.gif"), 1u);
    EXPECT_EQ(firstFrameBlocks("browser", "gif87a-several.gif"), 1u);
    EXPECT_EQ(firstFrameBlocks("gif", "animated.gif"), 1u);
}

// Either of the application blocks browsers loop by makes an animation; another
// application's block does not.
TEST(GifReader, KnowsAnAnimationByItsLoopingBlock) {
    const std::vector<std::uint8_t> looping =
        testing::fixtureBytes("browser", "looping-no-delay.gif");
    const std::string netscape = "NETSCAPE2.0";
    const auto at = std::search(looping.begin(), looping.end(), netscape.begin(), netscape.end());
    ASSERT_NE(at, looping.end());
    const auto blocksWith = [&](const std::string& application) {
        std::vector<std::uint8_t> bytes = looping;
        std::copy(application.begin(), application.end(), bytes.begin() + (at - looping.begin()));
        return readGifBlocks(bytes).firstFrameBlocks();
    };
    EXPECT_EQ(blocksWith("ANIMEXTS1.0"), 1u);
    EXPECT_EQ(blocksWith("XMP DataXMP"), 3u);
}

// The walk stops where the structure does; only a block of the first frame that the file
// ends in makes the picture fail.
TEST(GifReader, WalksNoFurtherThanTheDataGoes) {
    std::vector<std::uint8_t> bytes = testing::fixtureBytes("browser", "many-colours.gif");
    const Bytes cutInSecondBlock = Bytes(bytes).first(bytes.size() / 2);
    const GifBlocks cut = readGifBlocks(cutInSecondBlock);
    ASSERT_EQ(cut.blocks.size(), 2u);
    EXPECT_TRUE(cut.blocks[0].complete);
    EXPECT_FALSE(cut.blocks[1].complete);
    EXPECT_EQ(testing::decodeError(GifReader(), {cutInSecondBlock.begin(), cutInSecondBlock.end()}),
              "the GIF data cannot be decoded: the file is truncated (it ends inside image "
              "block 2)");
    EXPECT_THROW(readGifBlocks(Bytes(bytes).first(12)), ProjectError);

    bytes.back() = 0x99; // no trailer, something else in its place
    EXPECT_EQ(readGifBlocks(bytes).firstFrameBlocks(), 4u);
    EXPECT_TRUE(testing::matchesPicture(GifReader().decode({bytes, "no trailer"}),
                                        testing::referencePicture("browser", "many-colours.ppm")));

    // A file cut after its first frame still shows that frame.
    std::vector<std::uint8_t> animation = testing::fixtureBytes("browser", "first-frame.gif");
    animation.resize(animation.size() - 20);
    EXPECT_TRUE(testing::matchesPicture(GifReader().decode({animation, "cut"}),
                                        testing::referencePicture("browser", "first-frame.ppm")));
}

TEST(GifReader, KeepsThePaletteOnlyForOneOpaqueBlockThatFillsTheScreen) {
    EXPECT_EQ(testing::decodeFixture(GifReader(), "gif", "animated.gif").layout(),
              Bitmap::Layout::Palette8);
    EXPECT_EQ(testing::decodeFixture(GifReader(), "browser", "many-colours.gif").layout(),
              Bitmap::Layout::Rgb24);
}

// Codes packed as GIF packs them, lowest bit first, in one sub-block.
std::vector<std::uint8_t> subBlocks(const std::vector<std::pair<int, int>>& codes) {
    std::vector<std::uint8_t> data;
    std::uint32_t bits = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        bits |= static_cast<std::uint32_t>(code) << count;
        for (count += width; count >= 8; count -= 8, bits >>= 8) {
            data.push_back(static_cast<std::uint8_t>(bits));
        }
    }
    if (count > 0) {
        data.push_back(static_cast<std::uint8_t>(bits));
    }
    data.insert(data.begin(), static_cast<std::uint8_t>(data.size()));
    data.push_back(0);
    return data;
}

std::vector<std::uint8_t> decodeAll(int minimumCodeSize, const std::vector<std::uint8_t>& data,
                                    std::size_t chunk) {
    GifLzwDecoder decoder(minimumCodeSize, data);
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> piece(chunk);
    for (std::size_t got = chunk; got == chunk;) {
        got = decoder.read(piece);
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return out;
}

// With two-bit pixels, 4 is the clear code, 5 the end code and 6 the first new entry.
TEST(GifLzwDecoder, HandsOutStringsAcrossReadsAndStopsWhereTheStreamDoes) {
    // 1, then 6 defined by itself ("1 1"), then 6 again, then the end; nothing after it.
    const auto repeated = subBlocks({{4, 3}, {1, 3}, {6, 3}, {6, 3}, {5, 3}, {2, 3}});
    const std::vector<std::uint8_t> expected = {1, 1, 1, 1, 1};
    EXPECT_EQ(decodeAll(2, repeated, 1), expected);
    EXPECT_EQ(decodeAll(2, repeated, 64), expected);

    // Codes widen once the table holds 8 entries; a code past the next entry ends the
    // stream, as does a first code that is no pixel.
    EXPECT_EQ(decodeAll(2, subBlocks({{1, 3}, {2, 3}, {0, 3}, {3, 4}, {10, 4}, {0, 4}}), 8),
              (std::vector<std::uint8_t>{1, 2, 0, 3}));
    EXPECT_TRUE(decodeAll(2, subBlocks({{4, 3}, {6, 3}, {0, 3}}), 8).empty());
    // Data that stops inside a sub-block's announced length ends the stream too.
    // 0x0C holds the clear code and 1 in its six lowest bits.
    EXPECT_EQ(decodeAll(2, {5, 0x0C}, 8), (std::vector<std::uint8_t>{1}));
}

TEST(GifLzwDecoder, RefusesCodeSizesTheFormatDoesNotHave) {
    const auto data = subBlocks({{4, 3}, {1, 3}, {5, 3}});
    EXPECT_THROW(GifLzwDecoder(0, data), ProjectError);
    EXPECT_NO_THROW(GifLzwDecoder(1, data));
    EXPECT_NO_THROW(GifLzwDecoder(8, data));
    EXPECT_THROW(GifLzwDecoder(9, data), ProjectError);
    std::vector<std::uint8_t> bytes = testing::fixtureBytes("gif", "palette.gif");
    const GifBlocks gif = readGifBlocks(bytes);
    const auto codeSizeAt = static_cast<std::size_t>(gif.blocks[0].data.data() - bytes.data()) - 1;
    bytes[codeSizeAt] = 12;
    EXPECT_EQ(testing::decodeError(GifReader(), bytes),
              "the GIF data cannot be decoded: an image block codes its pixels with 12 bits");
}

} // namespace
} // namespace vellumar
