#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/pcx_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

INSTANTIATE_TEST_SUITE_P(Pcx, ReferencePicture,
                         ::testing::ValuesIn(testing::fixtureCases(
                             "pcx", {{"rgb24.pcx", "rgb.ppm"},
                                     {"palette8.pcx", "palette8.ppm"},
                                     {"mono.pcc", "bilevel.ppm"},
                                     {"planar4.pcx", "colours4.ppm"},
                                     {"packed4.pcx", "colours4.ppm"},
                                     {"planar16-narrow.scr", "colours16-narrow.ppm"}})));

// The reference is what a browser shows for the same pixels with the same short palette
// (given to it as a BMP): black past the end of the palette.
INSTANTIATE_TEST_SUITE_P(PcxAsBrowsersShowIt, ReferencePicture,
                         ::testing::ValuesIn(testing::fixtureCases(
                             "browser", {{"short-palette.pcx", "short-palette.ppm"}})));

TEST(PcxReader, RefusesDamagedFiles) {
    testing::expectRefused(
        "pcx",
        {{"truncated-rle.pcx", "the file is truncated"},
         {"huge.pcx", "the file is truncated"},
         {"short-lines.pcx", "the ZSoft Paintbrush rows are shorter than the picture is wide"}});
    testing::expectEmptyInputRefused(PcxReader());
}

} // namespace
} // namespace vellumar
