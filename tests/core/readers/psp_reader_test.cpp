#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "legacy_format_fixtures.h"
#include "readers/psp_reader.h"

namespace vellumar {
namespace {

namespace fixtures = testing::legacy_formats;

TEST(PspReader, BlendsVisibleLayersInEveryCompression) {
    const Bitmap reference = fixtures::reference("psp", "layers.ppm");
    for (const char* picture :
         {"layers-none.psp", "layers-rle.psp", "layers-lz77.psp", "version3-layers.psp"}) {
        SCOPED_TRACE(picture);
        EXPECT_EQ(fixtures::differences(fixtures::readFixture("psp", picture), reference), 0);
    }
}

TEST(PspReader, PrefersTheFullCompositeOverLayers) {
    EXPECT_EQ(fixtures::differences(fixtures::readFixture("psp", "composite-lz77.psp"),
                                    fixtures::reference("psp", "composite-lz77.ppm")),
              0);
}

TEST(PspReader, ReadsPalettePictures) {
    for (const char* name : {"palette8-rle", "palette4-none"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(fixtures::differences(fixtures::readFixture("psp", std::string(name) + ".psp"),
                                        fixtures::reference("psp", std::string(name) + ".ppm")),
                  0);
    }
}

TEST(PspReader, RejectsDamagedFiles) {
    const PspReader reader;
    EXPECT_TRUE(reader.sniff(fixtures::bytes("psp", "layers-rle.psp")));
    EXPECT_THAT(fixtures::decodeError(reader, fixtures::bytes("psp", "truncated.psp")),
                ::testing::StartsWith("the file is truncated"));
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("psp", "chunk-size.psp")),
              "the Paint Shop Pro file is damaged: a chunk size is out of range");
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("psp", "rle-overrun.psp")),
              "the Paint Shop Pro file is damaged: a run reaches past the end of its channel");
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("psp", "no-layers.psp")),
              "the Paint Shop Pro file holds neither a composite picture nor layers");
    EXPECT_EQ(fixtures::decodeError(reader, {}),
              "the file is not a Paint Shop Pro picture (signature missing)");

    const Bitmap meaningless = fixtures::readFixture("psp", "index-in-24bit.psp");
    EXPECT_EQ(meaningless.pixel(2, 1), (Rgb{255, 255, 255}));
}

} // namespace
} // namespace vellumar
