#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "pipeline/picture_render.h"
#include "project_error.h"
#include "readers/reader_table.h"
#include "support/libjpeg_decode.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

TEST(PictureBoxes, ThumbnailBoxFollowsFitAndFlags) {
    GallerySettings settings;
    settings.ThumbWidth = {true, "120"};
    settings.ThumbHeight = {false, "80"};
    PictureBox box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 120);
    EXPECT_TRUE(box.keepRatio);

    settings.ThumbWidth.on = false;
    settings.ThumbHeight.on = true;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 80);
    EXPECT_EQ(box.height, 80);

    settings.ThumbWidth.on = true;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 80);
    EXPECT_FALSE(box.keepRatio);

    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    settings.ThumbBorderColor = 255;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.borderWidth, 2);
    EXPECT_EQ(box.borderColor, 255u);

    settings.ThumbWidth.value = "0";
    EXPECT_THROW(thumbnailBoxOf(settings), ProjectError);
}

TEST(PictureBoxes, LargePictureBoxOnlyWhenResizing) {
    GallerySettings settings;
    EXPECT_FALSE(largePictureBoxOf(settings));
    settings.ResizePic = true;
    auto box = largePictureBoxOf(settings);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->width, 600);
    EXPECT_EQ(box->height, 400);
    EXPECT_TRUE(box->keepRatio); // new projects keep the proportions inside the box
    EXPECT_TRUE(box->fitInside);
    settings.PicKeepRatio = false;
    box = largePictureBoxOf(settings);
    EXPECT_FALSE(box->keepRatio);
    EXPECT_FALSE(box->fitInside);
    // One side alone already keeps the proportions, by its own rule, with or without it.
    for (const bool keep : {false, true}) {
        settings.PicKeepRatio = keep;
        settings.PicHeight.on = false;
        box = largePictureBoxOf(settings);
        EXPECT_EQ(box->width, 600);
        EXPECT_EQ(box->height, 600);
        EXPECT_TRUE(box->keepRatio);
        EXPECT_FALSE(box->fitInside);
    }
}

TEST(PictureRender, LargePictureIsProgressiveAndEveryOutputKeepsTheStandardCodingsPixels) {
    const testing::ScratchFolder folder;
    const std::string path = (folder.path() / "photo.jpg").string();
    writeFileAtomically(path, encodeJpeg(testing::markedPicture(230, 170), JpegCoding::Standard));
    RenderRequest request;
    request.path = path;
    request.thumbnail = PictureBox{60, 60, true};
    request.largePicture = true;
    const RenderedBitmaps bitmaps = renderBitmaps(request, pictureFormats());
    const RenderedOutputs outputs = renderPicture(request, pictureFormats());

    const testing::DecodedJpeg large = testing::decodeWithLibjpeg(outputs.largePicture->bytes);
    EXPECT_TRUE(large.progressive);
    EXPECT_TRUE(testing::samePixels(
        large.picture,
        testing::decodeWithLibjpeg(encodeJpeg(*bitmaps.largePicture, JpegCoding::Standard))
            .picture));
    const testing::DecodedJpeg thumbnail = testing::decodeWithLibjpeg(outputs.thumbnail->bytes);
    EXPECT_FALSE(thumbnail.progressive);
    EXPECT_TRUE(testing::samePixels(
        thumbnail.picture,
        testing::decodeWithLibjpeg(encodeJpeg(*bitmaps.thumbnail, JpegCoding::Standard)).picture));
}

// A JPEG side holds at most 65,500 pixels; a box whose pictures would be larger, border
// included, is refused before any picture is made.
TEST(PictureBoxes, BoxesLargerThanAJpegAreRefused) {
    const auto refusal = [](const std::function<void()>& plan) {
        try {
            plan();
        } catch (const ProjectError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    GallerySettings settings;
    settings.HiDpiThumbs = false;
    settings.ThumbWidth = {true, "65500"};
    EXPECT_EQ(refusal([&] { thumbnailBoxOf(settings); }), "accepted");
    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "1";
    EXPECT_EQ(refusal([&] { thumbnailBoxOf(settings); }),
              "The thumbnail would be 65502 x 65502 pixels with its border, but a JPEG side "
              "holds at most 65500 pixels.");
    settings.ThumbBorderWidth = "2147483647"; // no overflow on the way
    EXPECT_NE(refusal([&] { thumbnailBoxOf(settings); }), "accepted");

    settings.ThumbBorder = false;
    settings.ThumbWidth = {true, "40000"};
    EXPECT_EQ(refusal([&] { thumbnailBoxOf(settings); }), "accepted");
    settings.HiDpiThumbs = true;
    EXPECT_EQ(refusal([&] { thumbnailBoxOf(settings); }),
              "The double-size thumbnail would be 80000 x 80000 pixels with its border, but a "
              "JPEG side holds at most 65500 pixels.");

    settings.ResizePic = true;
    settings.PicWidth = {true, "600"};
    settings.PicHeight = {true, "70000"};
    EXPECT_THAT(refusal([&] { largePictureBoxOf(settings); }),
                ::testing::StartsWith("The large picture would be 600 x 70000 pixels"));
}

} // namespace
} // namespace vellumar
