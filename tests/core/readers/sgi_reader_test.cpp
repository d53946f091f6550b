#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/sgi_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

INSTANTIATE_TEST_SUITE_P(
    Sgi, ReferencePicture,
    ::testing::ValuesIn(testing::fixtureCases("sgi", {{"rgb-rle.sgi", "rgb.ppm"},
                                                      {"rgb-verbatim.rgb", "rgb.ppm"},
                                                      {"rgb16.sgi", "rgb.ppm"},
                                                      {"gray.bw", "gray.ppm"},
                                                      {"gray-alpha.sgi", "gray-alpha-on-white.ppm"},
                                                      {"rgba.rgba", "rgba-on-white.ppm"},
                                                      {"rgba16-rle.sgi", "rgba-on-white.ppm"}})));

TEST(SgiReader, RefusesDamagedFiles) {
    testing::expectRefused(
        "sgi", {{"truncated.sgi", "the file is truncated"},
                {"bad-offset.sgi", "an SGI row table entry points beyond the end of the file"},
                {"row-overflow.sgi", "an SGI row holds more pixels than the picture is wide"},
                {"huge.sgi", "the file is truncated"}});
    testing::expectEmptyInputRefused(SgiReader());
}

} // namespace
} // namespace vellumar
