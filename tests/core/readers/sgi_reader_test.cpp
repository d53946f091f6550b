#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/sgi_reader.h"

namespace vellumar {
namespace {

using testing::FixtureCase;

class SgiFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(SgiFixture, DecodesToItsReference) {
    testing::expectDecodesToReference("sgi", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Variants, SgiFixture,
                         ::testing::Values(FixtureCase{"rgb-rle.sgi", "rgb.ppm"},
                                           FixtureCase{"rgb-verbatim.rgb", "rgb.ppm"},
                                           FixtureCase{"rgb16.sgi", "rgb.ppm"},
                                           FixtureCase{"gray.bw", "gray.ppm"},
                                           FixtureCase{"gray-alpha.sgi", "gray-alpha-on-white.ppm"},
                                           FixtureCase{"rgba.rgba", "rgba-on-white.ppm"},
                                           FixtureCase{"rgba16-rle.sgi", "rgba-on-white.ppm"}));

TEST(SgiReader, RefusesDamagedFiles) {
    const testing::DamagedCase damaged[] = {
        {"truncated.sgi", "the file is truncated"},
        {"bad-offset.sgi", "an SGI row table entry points beyond the end of the file"},
        {"row-overflow.sgi", "an SGI row holds more pixels than the picture is wide"},
        {"huge.sgi", "the file is truncated"},
    };
    for (const auto& file : damaged) {
        testing::expectRefused("sgi", file);
    }
    testing::expectEmptyInputRefused(SgiReader());
}

} // namespace
} // namespace vellumar
