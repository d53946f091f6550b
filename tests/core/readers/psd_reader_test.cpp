#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/psd_reader.h"

namespace vellumar {
namespace {

using testing::FixtureCase;

class PsdFixture : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(PsdFixture, DecodesToItsReference) {
    testing::expectDecodesToReference("psd", GetParam());
}

// The CMYK file went from RGB to ink and back, which may be off by a step or two.
INSTANTIATE_TEST_SUITE_P(Variants, PsdFixture,
                         ::testing::Values(FixtureCase{"rgb-rle.psd", "rgb.ppm"},
                                           FixtureCase{"rgb-raw.pdd", "rgb.ppm"},
                                           FixtureCase{"rgb16.psd", "rgb.ppm"},
                                           FixtureCase{"gray.psd", "gray.ppm"},
                                           FixtureCase{"gray16-extra-channel.psd", "gray.ppm"},
                                           FixtureCase{"indexed.psd", "indexed.ppm"},
                                           FixtureCase{"bitmap.psd", "bilevel.ppm"},
                                           FixtureCase{"cmyk.psd", "rgb.ppm", 2}));

TEST(PsdReader, RefusesDamagedFiles) {
    for (const char* name :
         {"truncated-rle.psd", "huge.psd", "zip-compression.psd", "bad-row-count.psd"}) {
        SCOPED_TRACE(name);
        testing::expectRefused("psd", name);
    }
    testing::expectEmptyInputRefused(PsdReader());
}

} // namespace
} // namespace vellumar
