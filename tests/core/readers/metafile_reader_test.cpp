#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/metafile_reader.h"

namespace vellumar {
namespace {

void appendWords(std::vector<std::uint8_t>& out, std::initializer_list<int> words) {
    for (const int word : words) {
        out.push_back(static_cast<std::uint8_t>(word & 0xff));
        out.push_back(static_cast<std::uint8_t>((word >> 8) & 0xff));
    }
}

// A placeable metafile of the size in pixels with the records (words after the header).
std::vector<std::uint8_t> placeableMetafile(int width, int height,
                                            const std::vector<std::uint8_t>& records) {
    std::vector<std::uint8_t> out;
    appendWords(out, {0xcdd7, 0x9ac6, 0, 0, 0, width, height, 96, 0, 0, 0});
    appendWords(out, {1, 9, 0x300, 0, 0, 8, 0, 0, 0});
    out.insert(out.end(), records.begin(), records.end());
    appendWords(out, {3, 0, 0});
    return out;
}

TEST(MetafileReader, DrawsShapesWithTheirMapping) {
    const Bitmap reference = testing::referencePicture("metafile", "shapes.ppm");
    for (const char* name : {"shapes-placeable.wmf", "shapes-window.wmf", "shapes.emf"}) {
        SCOPED_TRACE(name);
        const Bitmap picture = testing::readFixture("metafile", name);
        ASSERT_EQ(picture.width(), 96);
        ASSERT_EQ(picture.height(), 64);
        // Lines and fills are exact; the ellipse's edge may fall either way.
        EXPECT_LE(testing::differingPixels(picture, reference), 40);
        for (const auto& [x, y] : {std::pair{4, 4},
                                   {39, 27},
                                   {20, 15},
                                   {70, 18},
                                   {8, 40},
                                   {39, 59},
                                   {50, 40},
                                   {90, 40},
                                   {90, 60},
                                   {45, 45}}) {
            EXPECT_EQ(picture.pixel(x, y), reference.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(MetafileReader, DrawsEveryKindOfBitmapRecord) {
    EXPECT_TRUE(testing::matchesPicture(testing::readFixture("metafile", "bitmaps.wmf"),
                                        testing::referencePicture("metafile", "bitmaps.ppm")));
    EXPECT_TRUE(testing::matchesPicture(testing::readFixture("metafile", "bitmaps.emf"),
                                        testing::referencePicture("metafile", "bitmaps-emf.ppm")));
}

TEST(MetafileReader, RejectsDamagedFiles) {
    const MetafileReader reader;
    const auto error = [&](const char* name) {
        return testing::decodeError(reader, testing::fixtureBytes("metafile", name));
    };
    EXPECT_THAT(error("truncated.wmf"), ::testing::StartsWith("the file is truncated"));
    EXPECT_THAT(error("dib-truncated.wmf"),
                ::testing::StartsWith("a bitmap in the metafile cannot be read: the file is "
                                      "truncated"));
    EXPECT_EQ(error("no-size.wmf"), "the metafile does not say how large it is");
    EXPECT_EQ(error("zero-inch.wmf"),
              "the metafile is damaged: the placeable header gives no units per inch");
    EXPECT_EQ(error("truncated.emf"),
              "the metafile is damaged: a record's size runs past the end of the file");
    EXPECT_EQ(error("bitmap-offset.emf"),
              "the metafile is damaged: a bitmap lies outside its record");
    EXPECT_EQ(testing::decodeError(reader, {}), "the file is not a Windows metafile");
    EXPECT_FALSE(reader.sniff(testing::fixtureBytes("psp", "layers-none.psp")));

    // A large picture whose last record is cut off fails before it is filled and drawn.
    std::vector<std::uint8_t> cutOff;
    appendWords(cutOff, {7, 0, 0x041b, 8000, 8000, 0, 0, 4096, 0, 0x041b});
    EXPECT_EQ(testing::decodeError(reader, placeableMetafile(8000, 8000, cutOff)),
              "the metafile is damaged: a record's size runs past the end of the file");
}

TEST(MetafileReader, StopsAFileThatDrawsForever) {
    // A hundred rectangles each covering the whole picture.
    std::vector<std::uint8_t> records;
    for (int i = 0; i < 100; ++i) {
        appendWords(records, {7, 0, 0x041b, 300, 300, 0, 0});
    }
    EXPECT_EQ(testing::decodeError(MetafileReader(), placeableMetafile(300, 300, records)),
              "the metafile is too complex to draw");

    // One polygon whose thirty thousand edges all cross every row of a tall picture.
    std::vector<std::uint8_t> star;
    const int points = 30000;
    appendWords(star, {(4 + 2 * points) & 0xffff, (4 + 2 * points) >> 16, 0x0324, points});
    for (int i = 0; i < points; ++i) {
        appendWords(star, {i % 2, i % 2 ? 0 : 30000});
    }
    EXPECT_EQ(testing::decodeError(MetafileReader(), placeableMetafile(2, 30000, star)),
              "the metafile is too complex to draw");
}

} // namespace
} // namespace vellumar
