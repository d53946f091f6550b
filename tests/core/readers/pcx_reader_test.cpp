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
    for (const char* name : {"truncated-rle.pcx", "huge.pcx", "short-lines.pcx"}) {
        SCOPED_TRACE(name);
        testing::expectRefused("pcx", name);
    }
    testing::expectEmptyInputRefused(PcxReader());
}

} // namespace
} // namespace vellumar
