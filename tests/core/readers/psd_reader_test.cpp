#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/psd_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

// The CMYK file goes through the press profile: its test is among the colour tests.
INSTANTIATE_TEST_SUITE_P(
    Psd, ReferencePicture,
    ::testing::ValuesIn(testing::fixtureCases("psd", {{"rgb-rle.psd", "rgb.ppm"},
                                                      {"rgb-raw.pdd", "rgb.ppm"},
                                                      {"rgb16.psd", "rgb.ppm"},
                                                      {"gray.psd", "gray.ppm"},
                                                      {"gray16-extra-channel.psd", "gray.ppm"},
                                                      {"indexed.psd", "indexed.ppm"},
                                                      {"bitmap.psd", "bilevel.ppm"}})));

TEST(PsdReader, RefusesDamagedFiles) {
    testing::expectRefused("psd",
                           {{"truncated-rle.psd", "the file is truncated"},
                            {"huge.psd", "the file is truncated"},
                            {"zip-compression.psd", "the Photoshop compression 2 is not supported"},
                            {"bad-row-count.psd", "the file is truncated"}});
    testing::expectEmptyInputRefused(PsdReader());
}

} // namespace
} // namespace vellumar
