#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/pcx_reader.h"

namespace vellumar {
namespace {

using testing::FixtureCase;

class PcxFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(PcxFixture, DecodesToItsReference) {
    testing::expectDecodesToReference("pcx", GetParam());
}

INSTANTIATE_TEST_SUITE_P(Variants, PcxFixture,
                         ::testing::Values(FixtureCase{"rgb24.pcx", "rgb.ppm"},
                                           FixtureCase{"palette8.pcx", "palette8.ppm"},
                                           FixtureCase{"mono.pcc", "bilevel.ppm"},
                                           FixtureCase{"planar4.pcx", "colours4.ppm"},
                                           FixtureCase{"packed4.pcx", "colours4.ppm"},
                                           FixtureCase{"planar16-narrow.scr",
                                                       "colours16-narrow.ppm"}));

TEST(PcxReader, RefusesDamagedFiles) {
    const testing::DamagedCase damaged[] = {
        {"truncated-rle.pcx", "the file is truncated"},
        {"huge.pcx", "the file is truncated"},
        {"short-lines.pcx", "the ZSoft Paintbrush rows are shorter than the picture is wide"},
    };
    for (const auto& file : damaged) {
        testing::expectRefused("pcx", file);
    }
    testing::expectEmptyInputRefused(PcxReader());
}

} // namespace
} // namespace vellumar
