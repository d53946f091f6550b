#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/averaged_stretch.h"
#include "project_error.h"
#include "reader_fixtures.h"
#include "readers/jpeg_reader.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"
#include "support/area_average.h"

namespace vellumar {
namespace {

using testing::fixtureBytes;
using testing::fixturePath;
using testing::matchesPicture;

std::string reducedDecodeError(const std::vector<std::uint8_t>& bytes, int reduction) {
    try {
        JpegReader().decodeReduced({bytes, "damaged"}, reduction);
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "";
}

// Every colour layout libjpeg hands back, at every reduction: the sides are divided and
// rounded up, and the picture keeps its mean colour once each pixel is weighted by the part
// of the full picture it stands for (the last column and row stand for less). YCCK strays
// further: its inks multiply, and the mean of products is not the product of means.
TEST(JpegReducedDecode, DividesBothSidesRoundingUpAndKeepsTheMeanColour) {
    const JpegReader reader;
    for (const char* name :
         {"rgb.jpg", "rgb-444.jpg", "gray.jpg", "progressive.jpg", "cmyk.jpg", "ycck.jpg"}) {
        const std::vector<std::uint8_t> bytes = fixtureBytes("jpeg", name);
        const Bitmap full = reader.decode({bytes, name});
        ASSERT_EQ(full.width(), 61) << name;
        ASSERT_EQ(full.height(), 43) << name;
        EXPECT_TRUE(matchesPicture(reader.decodeReduced({bytes, name}, 1), full)) << name;
        const std::vector<double> mean = testing::areaAverage(full, 1, 1);
        const double tolerance = std::string(name) == "ycck.jpg" ? 5.0 : 1.5;
        for (const auto& [reduction, width, height] :
             {std::tuple{2, 31, 22}, std::tuple{4, 16, 11}, std::tuple{8, 8, 6}}) {
            const Bitmap reduced = reader.decodeReduced({bytes, name}, reduction);
            ASSERT_EQ(reduced.width(), width) << name << " / " << reduction;
            ASSERT_EQ(reduced.height(), height) << name << " / " << reduction;
            EXPECT_EQ(reduced.layout(), Bitmap::Layout::Rgb24);
            const Bitmap reducedMean = stretchAveraged(reduced, {61, 43}, reduction, 1, 1);
            for (const double channel : testing::meanDifference(reducedMean, mean)) {
                EXPECT_LE(channel, tolerance) << name << " / " << reduction;
            }
        }
    }
}

TEST(JpegReducedDecode, FailsAsTheFullDecodeDoes) {
    const std::vector<std::uint8_t> truncated = fixtureBytes("jpeg", "truncated.jpg");
    const std::string complaint = testing::decodeError(JpegReader(), truncated);
    ASSERT_NE(complaint.find("Premature end of JPEG file"), std::string::npos) << complaint;
    EXPECT_EQ(reducedDecodeError(truncated, 4), complaint);
    EXPECT_EQ(reducedDecodeError(fixtureBytes("png", "rgb8.png"), 2), "not a JPEG file");
}

// Only a file the JPEG reader reads may be reduced, whatever its name says.
TEST(JpegReducedDecode, APictureFileOffersItOnlyForARealJpeg) {
    const PictureFile jpeg(fixturePath("jpeg", "rgb.jpg"), pictureFormats());
    EXPECT_TRUE(jpeg.decodesReduced());
    EXPECT_EQ(jpeg.probe(), (PictureSize{61, 43}));
    const Bitmap reduced = jpeg.decode(4);
    EXPECT_EQ(reduced.width(), 16);
    EXPECT_EQ(reduced.height(), 11);

    const PictureFile misnamed(fixturePath("jpeg", "misnamed-png.jpg"), pictureFormats());
    EXPECT_FALSE(misnamed.decodesReduced());
    EXPECT_EQ(misnamed.probe(), (PictureSize{23, 19}));
    EXPECT_EQ(misnamed.decode().width(), 23);

    const PictureFile damaged(fixturePath("jpeg", "truncated.jpg"), pictureFormats());
    try {
        damaged.decode(2);
        ADD_FAILURE() << "a truncated JPEG decoded";
    } catch (const ProjectError& error) {
        EXPECT_TRUE(std::string(error.what())
                        .starts_with("Cannot read picture " + fixturePath("jpeg", "truncated.jpg")))
            << error.what();
    }
}

} // namespace
} // namespace vellumar
