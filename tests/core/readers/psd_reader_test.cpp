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
    const testing::DamagedCase damaged[] = {
        {"truncated-rle.psd", "the file is truncated"},
        {"huge.psd", "the file is truncated"},
        {"zip-compression.psd", "the Photoshop compression 2 is not supported"},
        {"bad-row-count.psd", "the file is truncated"},
    };
    for (const auto& file : damaged) {
        testing::expectRefused("psd", file);
    }
    testing::expectEmptyInputRefused(PsdReader());
}

} // namespace
} // namespace vellumar
