#include <string>

#include <gtest/gtest.h>

#include "core/readers/reader_fixtures.h"
#include "imaging/camera_orientation.h"
#include "imaging/rotate.h"
#include "model/load_picture.h"
#include "pipeline/picture_render.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

using testing::fixturePath;
using testing::matchesPicture;

std::string orientationFixture(int orientation) {
    return fixturePath("metadata", "orientation-" + std::to_string(orientation) + ".png");
}

// Each fixture stores the same upright picture as a camera held in one of the eight ways
// would have stored it.
TEST(CameraOrientationTest, EveryOrientationTurnsBackToTheUprightPicture) {
    const Bitmap upright = testing::referencePicture("metadata", "upright.ppm");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const std::string path = orientationFixture(orientation);
        EXPECT_EQ(readPictureMetadata(path, pictureFormats()).orientation, orientation);

        TImgEntry entry;
        entry.file = path;
        EXPECT_TRUE(matchesPicture(LoadPicture(entry, pictureFormats(), true), upright))
            << orientation;
        EXPECT_EQ(probePictureFile(path, pictureFormats(), true), (PictureSize{5, 3}))
            << orientation;

        const Bitmap stored = LoadPicture(entry, pictureFormats(), false);
        EXPECT_TRUE(matchesPicture(stored, readPictureFile(path, pictureFormats()))) << orientation;
        EXPECT_EQ(probePictureFile(path, pictureFormats()),
                  (PictureSize{stored.width(), stored.height()}));
    }
}

TEST(CameraOrientationTest, UnknownOrientationsLeaveThePictureAsItIs) {
    const Bitmap picture = testing::referencePicture("metadata", "upright.ppm");
    for (const int orientation : {0, 9, -1}) {
        EXPECT_TRUE(matchesPicture(turnAsCameraHeld(picture, orientation), picture));
        EXPECT_EQ(sizeAsCameraHeld({5, 3}, orientation), (PictureSize{5, 3}));
    }
    EXPECT_EQ(sizeAsCameraHeld({5, 3}, 5), (PictureSize{3, 5}));
}

// Outputs turn as the camera was held first and by the entry's own rotation after that.
TEST(CameraOrientationTest, BuildsTurnBeforeTheEntryRotation) {
    const Bitmap upright = testing::referencePicture("metadata", "upright.ppm");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        RenderRequest request;
        request.path = orientationFixture(orientation);
        request.autoRotate = true;
        request.rotate = 1;
        request.largePicture = true;
        request.thumbnail = PictureBox{10, 10, true};
        const RenderedBitmaps outputs = renderBitmaps(request, pictureFormats());
        ASSERT_TRUE(outputs.largePicture.has_value());
        EXPECT_TRUE(matchesPicture(*outputs.largePicture, Rotate(upright, 90))) << orientation;
        ASSERT_TRUE(outputs.thumbnail.has_value());
        // A picture that already fits its box is not enlarged.
        EXPECT_TRUE(matchesPicture(*outputs.thumbnail, Rotate(upright, 90))) << orientation;

        request.autoRotate = false;
        request.rotate = 0;
        const Bitmap stored = readPictureFile(request.path, pictureFormats());
        EXPECT_TRUE(matchesPicture(*renderBitmaps(request, pictureFormats()).largePicture, stored))
            << orientation;
    }
}

} // namespace
} // namespace vellumar
