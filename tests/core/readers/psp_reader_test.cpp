#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/psp_reader.h"

namespace vellumar {
namespace {

TEST(PspReader, BlendsVisibleLayersInEveryCompression) {
    const Bitmap reference = testing::referencePicture("psp", "layers.ppm");
    for (const char* picture :
         {"layers-none.psp", "layers-rle.psp", "layers-lz77.psp", "version3-layers.psp"}) {
        SCOPED_TRACE(picture);
        EXPECT_TRUE(testing::matchesPicture(testing::readFixture("psp", picture), reference));
    }
}

TEST(PspReader, PrefersTheFullCompositeOverLayers) {
    EXPECT_TRUE(testing::matchesPicture(testing::readFixture("psp", "composite-lz77.psp"),
                                        testing::referencePicture("psp", "composite-lz77.ppm")));
}

TEST(PspReader, ReadsPalettePictures) {
    for (const char* name : {"palette8-rle", "palette4-none"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(
            testing::matchesPicture(testing::readFixture("psp", std::string(name) + ".psp"),
                                    testing::referencePicture("psp", std::string(name) + ".ppm")));
    }
}

TEST(PspReader, RejectsDamagedFiles) {
    const PspReader reader;
    EXPECT_TRUE(reader.sniff(testing::fixtureBytes("psp", "layers-rle.psp")));
    EXPECT_THAT(testing::decodeError(reader, testing::fixtureBytes("psp", "truncated.psp")),
                ::testing::StartsWith("the file is truncated"));
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("psp", "chunk-size.psp")),
              "the Paint Shop Pro file is damaged: a chunk size is out of range");
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("psp", "rle-overrun.psp")),
              "the Paint Shop Pro file is damaged: a run reaches past the end of its channel");
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("psp", "no-layers.psp")),
              "the Paint Shop Pro file holds neither a composite picture nor layers");
    EXPECT_EQ(testing::decodeError(reader, {}),
              "the file is not a Paint Shop Pro picture (signature missing)");

    const Bitmap meaningless = testing::readFixture("psp", "index-in-24bit.psp");
    EXPECT_EQ(meaningless.pixel(2, 1), (Rgb{255, 255, 255}));
}

} // namespace
} // namespace vellumar
