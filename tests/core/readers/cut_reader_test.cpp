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
    std::ifstream file(testing::fixturePath("cut", "picture.cut"), std::ios::binary);
    const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
    const Bitmap bitmap = CutReader().decode({bytes, ""});
    EXPECT_EQ(bitmap.pixel(1, 0), (Rgb{11, 11, 11}));
}

TEST(CutReader, RefusesDamagedFiles) {
    for (const char* name : {"bad-index.cut", "truncated.cut", "huge.cut"}) {
        SCOPED_TRACE(name);
        testing::expectRefused("cut", name);
    }
    testing::expectEmptyInputRefused(CutReader());
}

} // namespace
} // namespace vellumar
