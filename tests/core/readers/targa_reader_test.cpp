#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/targa_reader.h"

namespace vellumar {
namespace {

using testing::FixtureCase;

class TargaFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(TargaFixture, DecodesToItsReference) {
    testing::expectDecodesToReference("targa", GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Variants, TargaFixture,
    ::testing::Values(
        FixtureCase{"rgb24.tga", "rgb.ppm"}, FixtureCase{"rgb24-rle.tga", "rgb.ppm"},
        FixtureCase{"rgb24-topright-footer.tga", "rgb.ppm"},
        FixtureCase{"rgba32.tga", "rgba-on-white.ppm"}, FixtureCase{"rgb15.vda", "rgb555.ppm"},
        FixtureCase{"rgb16-alpha.icb", "rgb16-alpha.ppm"}, FixtureCase{"gray8.tga", "gray.ppm"},
        FixtureCase{"gray8-rle.tga", "gray.ppm"},
        FixtureCase{"gray16-alpha-rle.tga", "gray-alpha-on-white.ppm"},
        FixtureCase{"mapped.tga", "mapped.ppm"}, FixtureCase{"mapped-rle.tga", "mapped.ppm"},
        FixtureCase{"mapped16-first4-topleft.win", "colours16.ppm"},
        FixtureCase{"mapped32-alpha-rle.vst", "mapped32-alpha.ppm"}));

TEST(TargaReader, KeepsColourMappedPicturesAsPaletteBitmaps) {
    const Bitmap bitmap =
        readPictureFile(testing::fixturePath("targa", "mapped16-first4-topleft.win"));
    EXPECT_EQ(bitmap.layout(), Bitmap::Layout::Palette8);
}

TEST(TargaReader, RefusesDamagedFiles) {
    const testing::DamagedCase damaged[] = {
        {"truncated-rle.tga", "the file is truncated"},
        {"huge.tga", "the file is truncated"},
        {"bad-index.tga", "the picture uses colour 4, which its colour map does not hold"},
        {"bad-depth.tga", "the Truevision picture has an unsupported depth of 12 bits a pixel"},
    };
    for (const auto& file : damaged) {
        testing::expectRefused("targa", file);
    }
    testing::expectEmptyInputRefused(TargaReader());
}

TEST(TargaReader, RecognisesOnlyFilesWithTheFooterSignature) {
    const auto bytesOf = [](const char* name) {
        return testing::readFileBytes(testing::fixturePath("targa", name));
    };
    EXPECT_TRUE(TargaReader().sniff(bytesOf("rgb24-topright-footer.tga")));
    EXPECT_FALSE(TargaReader().sniff(bytesOf("rgb24.tga")));
}

} // namespace
} // namespace vellumar
