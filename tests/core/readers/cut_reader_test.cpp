#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/cut_reader.h"

namespace vellumar {
namespace {

using testing::FixtureCase;

class CutFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(CutFixture, DecodesToItsReference) {
    testing::expectDecodesToReference("cut", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Palettes, CutFixture,
                         ::testing::Values(FixtureCase{"picture.cut", "picture.ppm"},
                                           FixtureCase{"sixbit.cut", "sixbit.ppm"},
                                           FixtureCase{"nopalette.cut", "nopalette.ppm"}));

TEST(CutReader, DecodesFromMemoryWithAGrayRamp) {
    const auto bytes = testing::readFileBytes(testing::fixturePath("cut", "picture.cut"));
    const Bitmap bitmap = CutReader().decode({bytes, ""});
    EXPECT_EQ(bitmap.pixel(1, 0), (Rgb{11, 11, 11}));
}

TEST(CutReader, RefusesDamagedFiles) {
    const testing::DamagedCase damaged[] = {
        {"bad-index.cut", "the picture uses colour 22, but its palette holds only 16 colours"},
        {"truncated.cut", "the file is truncated"},
        {"huge.cut", "the file is truncated"},
        {"short-row.cut", "a Dr. Halo row holds fewer pixels than the picture is wide"},
        {"long-row.cut", "a Dr. Halo row holds more pixels than the picture is wide"},
    };
    for (const auto& file : damaged) {
        testing::expectRefused("cut", file);
    }
    testing::expectEmptyInputRefused(CutReader());
}

} // namespace
} // namespace vellumar
