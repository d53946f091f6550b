#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/reader_table.h"
#include "readers/targa_reader.h"

namespace vellumar {
namespace {

using testing::ReferencePicture;

INSTANTIATE_TEST_SUITE_P(Targa, ReferencePicture,
                         ::testing::ValuesIn(testing::fixtureCases(
                             "targa", {{"rgb24.tga", "rgb.ppm"},
                                       {"rgb24-rle.tga", "rgb.ppm"},
                                       {"rgb24-topright-footer.tga", "rgb.ppm"},
                                       {"rgba32.tga", "rgba-on-white.ppm"},
                                       {"rgb15.vda", "rgb555.ppm"},
                                       {"rgb16-alpha.icb", "rgb16-alpha.ppm"},
                                       {"gray8.tga", "gray.ppm"},
                                       {"gray8-rle.tga", "gray.ppm"},
                                       {"gray16-alpha-rle.tga", "gray-alpha-on-white.ppm"},
                                       {"mapped.tga", "mapped.ppm"},
                                       {"mapped-rle.tga", "mapped.ppm"},
                                       {"mapped16-first4-topleft.win", "colours16.ppm"},
                                       {"mapped32-alpha-rle.vst", "mapped32-alpha.ppm"}})));

// The reference is what a browser shows for the same pixels with the same short colour map
// (given to it as a BMP): black past the end of the map.
INSTANTIATE_TEST_SUITE_P(
    TargaAsBrowsersShowIt, ReferencePicture,
    ::testing::ValuesIn(testing::fixtureCases("browser", {{"short-map.tga", "short-map.ppm"}})));

TEST(TargaReader, KeepsColourMappedPicturesAsPaletteBitmaps) {
    const Bitmap bitmap = readPictureFile(
        testing::fixturePath("targa", "mapped16-first4-topleft.win"), pictureFormats());
    EXPECT_EQ(bitmap.layout(), Bitmap::Layout::Palette8);
}

TEST(TargaReader, RefusesDamagedFiles) {
    testing::expectRefused(
        "targa",
        {{"truncated-rle.tga", "the file is truncated"},
         {"huge.tga", "the file is truncated"},
         {"bad-depth.tga", "the Truevision picture has an unsupported depth of 12 bits a pixel"}});
    testing::expectEmptyInputRefused(TargaReader());
}

TEST(TargaReader, RecognisesOnlyFilesWithTheFooterSignature) {
    const auto bytesOf = [](const char* name) { return testing::fixtureBytes("targa", name); };
    EXPECT_TRUE(TargaReader().sniff(bytesOf("rgb24-topright-footer.tga")));
    EXPECT_FALSE(TargaReader().sniff(bytesOf("rgb24.tga")));
}

} // namespace
} // namespace vellumar
