#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/cut_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

INSTANTIATE_TEST_SUITE_P(
    Cut, ReferencePicture,
    ::testing::ValuesIn(testing::fixtureCases("cut", {{"picture.cut", "picture.ppm"},
                                                      {"sixbit.cut", "sixbit.ppm"},
                                                      {"nopalette.cut", "nopalette.ppm"}})));

TEST(CutReader, DecodesFromMemoryWithAGrayRamp) {
    const auto bytes = testing::fixtureBytes("cut", "picture.cut");
    const Bitmap bitmap = CutReader().decode({bytes, ""});
    EXPECT_EQ(bitmap.pixel(1, 0), (Rgb{11, 11, 11}));
}

TEST(CutReader, RefusesDamagedFiles) {
    testing::expectRefused(
        "cut",
        {{"bad-index.cut", "the picture uses colour 22, but its palette holds only 16 colours"},
         {"truncated.cut", "the file is truncated"},
         {"huge.cut", "the file is truncated"},
         {"short-row.cut", "a Dr. Halo row holds fewer pixels than the picture is wide"},
         {"long-row.cut", "a Dr. Halo row holds more pixels than the picture is wide"}});
    testing::expectEmptyInputRefused(CutReader());
}

} // namespace
} // namespace vellumar
