#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "atomic_file.h"
#include "imaging/averaged_stretch.h"
#include "imaging/gen_pic.h"
#include "imaging/jpeg_writer.h"
#include "imaging/shrink_on_load.h"
#include "imaging/smooth_reduction.h"
#include "model/enums.h"
#include "model/settings_rules.h"
#include "pipeline/picture_render.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"
#include "support/area_average.h"
#include "support/lanczos_reference.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

constexpr CropAlign kNoCrop = CropAlign::NoCrop;
constexpr CropAlign kTopLeft = CropAlign::TopLeft;
constexpr CropAlign kCenter = CropAlign::Center;
constexpr CropAlign kRightBottom = CropAlign::RightBottom;

PictureBox square(int side) {
    return {side, side, true, 0, kWhite};
}

// A picture with smooth light, hard edges, one-pixel stripes and grain from a fixed seed:
// what a photograph asks of a reduction, the same every run.
Bitmap photo(int width, int height) {
    std::vector<int> waveX(static_cast<std::size_t>(width));
    std::vector<int> waveY(static_cast<std::size_t>(height));
    for (int x = 0; x < width; ++x) {
        waveX[x] = static_cast<int>(40 * std::sin(x * 40.0 / width));
    }
    for (int y = 0; y < height; ++y) {
        waveY[y] = static_cast<int>(40 * std::cos(y * 25.0 / height));
    }
    const auto clamp = [](int value) {
        return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    };
    const int discX = width * 7 / 10;
    const int discY = height * 4 / 10;
    const std::int64_t discRadius = height / 5;
    Bitmap picture = Bitmap::uninitialized(width, height);
    std::uint32_t grain = 2024;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 28) - 8;
            const std::int64_t dx = x - discX;
            const std::int64_t dy = y - discY;
            const int disc = dx * dx + dy * dy < discRadius * discRadius ? 80 : 0;
            const bool striped = x < width * 3 / 8 && y > height * 6 / 10;
            const int stripe = striped ? (x % 2 == 0 ? 90 : -40) : 0;
            p[0] = clamp(60 + x * 150 / width + waveX[x] + disc + noise);
            p[1] = clamp(90 + y * 120 / height + waveY[y] + stripe + noise);
            p[2] =
                clamp(180 - (x + y) * 100 / (width + height) + (waveX[x] - waveY[y]) / 2 + noise);
        }
    }
    return picture;
}

struct SmoothScalingTest : ::testing::Test {
    std::string writeJpeg(const std::string& name, const Bitmap& picture) {
        const std::string path = scratch.folder() + name;
        writeFileAtomically(path, encodeJpeg(picture));
        return path;
    }

    testing::ScratchFolder scratch;
};

using testing::samePixels;

// The reduction is not only allowed but done: each output is exactly the smooth reduction of
// the picture decoded as small as all the outputs allow, which differs from that of the
// full decode, so a build that fell back to decoding in full would show here.
TEST_F(SmoothScalingTest, AJpegIsDecodedAsSmallAsItsOutputsAllow) {
    const std::string path = writeJpeg("photo.jpg", photo(1600, 1200));
    const PictureFile file(path, pictureFormats());
    const auto reducedFrom = [&](int reduction, int width, int height) {
        return stretchSmoothly(file.decode(reduction), {1600, 1200}, reduction, width, height);
    };
    RenderRequest request;
    request.path = path;
    request.thumbnail = square(100);
    const RenderedBitmaps alone = renderBitmaps(request, pictureFormats());
    EXPECT_TRUE(samePixels(*alone.thumbnail, reducedFrom(8, 100, 75)));
    EXPECT_FALSE(samePixels(*alone.thumbnail, reducedFrom(1, 100, 75)));

    request.largePicture = true;
    request.largePictureBox = square(600); // an eighth is 200 x 150, a quarter 400 x 300
    const RenderedBitmaps both = renderBitmaps(request, pictureFormats());
    EXPECT_TRUE(samePixels(*both.thumbnail, reducedFrom(2, 100, 75)));
    EXPECT_TRUE(samePixels(*both.largePicture, reducedFrom(2, 600, 450)));
    EXPECT_FALSE(samePixels(*both.largePicture, reducedFrom(1, 600, 450)));
}

// Every box rule of the builds, on pictures of each shape, turned and framed: smooth scaling
// gives the sizes the transforms give, and wherever it has nothing to average (windows,
// exact stretches, own sizes, pictures that fit) the very same bytes.
TEST_F(SmoothScalingTest, SizesFollowTheTransformsForEveryBoxRule) {
    const std::vector<std::string> paths = {
        writeJpeg("wide.jpg", photo(803, 601)), writeJpeg("tall.jpg", photo(601, 803)),
        writeJpeg("square.jpg", photo(640, 640)), writeJpeg("small.jpg", photo(90, 60)),
        std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/jpeg/misnamed-png.jpg"};

    const auto thumbnailRule = [](void (*adjust)(GallerySettings&)) {
        GallerySettings settings;
        adjust(settings);
        return thumbnailBoxOf(settings);
    };
    struct ThumbnailRule {
        PictureBox box;
        CropAlign crop;
    };
    const std::vector<ThumbnailRule> thumbnails = {
        {thumbnailRule([](GallerySettings&) {}), kNoCrop}, // width only, 100
        {thumbnailRule([](GallerySettings& s) {
             setThumbHeightFlag(s, true);
             setThumbWidthFlag(s, false);
             s.ThumbHeight.value = "80";
         }),
         kNoCrop},
        {thumbnailRule([](GallerySettings& s) {
             s.ThumbHeight = {true, "90"};
             s.ThumbWidth.value = "120";
         }),
         kNoCrop},
        {thumbnailRule([](GallerySettings& s) { setThumbFit(s, ThumbFit::Crop); }), kTopLeft},
        {thumbnailRule([](GallerySettings& s) { setThumbFit(s, ThumbFit::Crop); }), kCenter},
        {thumbnailRule([](GallerySettings& s) { setThumbFit(s, ThumbFit::Crop); }), kRightBottom},
        {thumbnailRule([](GallerySettings& s) {
             s.ThumbBorder = true;
             s.ThumbBorderWidth = "2";
         }),
         kNoCrop},
    };
    const auto largeRule = [](void (*adjust)(GallerySettings&)) {
        GallerySettings settings;
        adjust(settings);
        return largePictureBoxOf(settings);
    };
    const std::vector<std::optional<PictureBox>> largePictures = {
        largeRule([](GallerySettings&) {}), // own size
        largeRule([](GallerySettings& s) {
            s.ResizePic = true;
            s.PicHeight.on = false;
        }),
        largeRule([](GallerySettings& s) {
            s.ResizePic = true;
            s.PicWidth.on = false;
            s.PicBorder = true;
            s.PicBorderWidth = "3";
        }),
        largeRule([](GallerySettings& s) {
            s.ResizePic = true;
            s.PicKeepRatio = false;
        }),                                                        // exact 600 x 400
        largeRule([](GallerySettings& s) { s.ResizePic = true; }), // inside 600 x 400
    };

    int turn = 0;
    for (const std::string& path : paths) {
        const Bitmap full = readPictureFile(path, pictureFormats());
        for (std::size_t i = 0; i < thumbnails.size(); ++i) {
            RenderRequest request;
            request.path = path;
            request.crop = thumbnails[i].crop;
            request.rotate = ++turn % 4;
            request.thumbnail = thumbnails[i].box;
            request.largePicture = true;
            request.largePictureBox = largePictures[i % largePictures.size()];
            const RenderedOutputs smooth = renderPicture(request, pictureFormats());
            request.smoothScaling = false;
            const RenderedOutputs picked = renderPicture(request, pictureFormats());

            const PictureBox& t = thumbnails[i].box;
            const Bitmap thumbnail = GenPic(full, t, request.crop, request.rotate);
            const std::string what = path + ", rule " + std::to_string(i);
            EXPECT_EQ(smooth.thumbnail->width, thumbnail.width()) << what;
            EXPECT_EQ(smooth.thumbnail->height, thumbnail.height()) << what;
            EXPECT_EQ(picked.thumbnail->bytes, encodeJpeg(thumbnail)) << what;
            if (!averagedSize(t, request.crop, {full.width(), full.height()})) {
                EXPECT_EQ(smooth.thumbnail->bytes, picked.thumbnail->bytes) << what;
            }

            const std::optional<PictureBox>& l = request.largePictureBox;
            const Bitmap large =
                GenPic(full, l.value_or(PictureBox{full.width(), full.height(), true, 0, kWhite}),
                       kNoCrop, request.rotate);
            EXPECT_EQ(smooth.largePicture->width, large.width()) << what;
            EXPECT_EQ(smooth.largePicture->height, large.height()) << what;
            EXPECT_EQ(picked.largePicture->bytes, encodeJpeg(large, JpegCoding::Progressive))
                << what;
            if (!l || !averagedSize(shapingBoxOf(*l, request.rotate), kNoCrop,
                                    {full.width(), full.height()})) {
                EXPECT_EQ(smooth.largePicture->bytes, picked.largePicture->bytes) << what;
            }
        }
    }
    // Two sizes worked out by hand: 601 * 100 / 803 = 74.8, and 601 * 80 / 803 = 59.9 before
    // a quarter turn.
    RenderRequest wide;
    wide.path = paths[0];
    wide.thumbnail = square(100);
    const RenderedPicture hundred = *renderPicture(wide, pictureFormats()).thumbnail;
    EXPECT_EQ(hundred.width, 100);
    EXPECT_EQ(hundred.height, 75);
    wide.thumbnail = square(80);
    wide.rotate = 1;
    const RenderedPicture turned = *renderPicture(wide, pictureFormats()).thumbnail;
    EXPECT_EQ(turned.width, 60);
    EXPECT_EQ(turned.height, 80);
}

// A 12-megapixel photograph: its thumbnail and large picture, reduced while decoding, then
// averaged and finished with a Lanczos step, against the exact Lanczos reduction of the
// fully decoded picture. The mean absolute difference of every channel stays within 0.6
// levels (about 0.3 and 0.4 are measured); the large picture is a quarter closer than even
// the area mean of the full decode (about 0.65), and picking single pixels, as with smooth
// scaling off, lands several levels away because grain and stripes come through.
TEST_F(SmoothScalingTest, ATwelveMegapixelPhotoComesOutCloseToALanczosReduction) {
    const std::string path = writeJpeg("photo.jpg", photo(4000, 3000));
    const Bitmap full = readPictureFile(path, pictureFormats());
    const std::vector<double> thumbnailLanczos = testing::lanczosReference(full, 100, 75);
    const std::vector<double> largeLanczos = testing::lanczosReference(full, 600, 450);

    RenderRequest request;
    request.path = path;
    request.thumbnail = square(100); // alone: decoded at an eighth
    const RenderedBitmaps alone = renderBitmaps(request, pictureFormats());
    request.largePicture = true;
    request.largePictureBox = square(600); // with it: at a quarter, for both
    const RenderedBitmaps both = renderBitmaps(request, pictureFormats());

    for (const auto& [picture, lanczos, what] :
         {std::tuple{&*alone.thumbnail, &thumbnailLanczos, "thumbnail alone"},
          std::tuple{&*both.thumbnail, &thumbnailLanczos, "thumbnail"},
          std::tuple{&*both.largePicture, &largeLanczos, "large picture"}}) {
        for (const double channel : testing::meanDifference(*picture, *lanczos)) {
            EXPECT_LE(channel, 0.6) << what;
        }
    }
    const std::array<double, 3> large = testing::meanDifference(*both.largePicture, largeLanczos);
    const std::array<double, 3> averaged =
        testing::meanDifference(stretchAveraged(full, 600, 450), largeLanczos);
    for (std::size_t c = 0; c < large.size(); ++c) {
        EXPECT_LE(large[c], 0.75 * averaged[c]) << "channel " << c;
    }

    request.smoothScaling = false;
    const RenderedOutputs picked = renderPicture(request, pictureFormats());
    const Bitmap pickedThumbnail = GenPic(full, {100, 100, true, 0, kWhite}, kNoCrop, 0);
    EXPECT_EQ(picked.thumbnail->bytes, encodeJpeg(pickedThumbnail));
    EXPECT_EQ(
        picked.largePicture->bytes,
        encodeJpeg(GenPic(full, {600, 600, true, 0, kWhite}, kNoCrop, 0), JpegCoding::Progressive));
    const std::array<double, 3> pickedDifference =
        testing::meanDifference(pickedThumbnail, thumbnailLanczos);
    EXPECT_GT(*std::max_element(pickedDifference.begin(), pickedDifference.end()), 3.0);
}

// Sides that the decode cannot divide evenly leave a last column and row that stand for less
// than the others; outputs still land where the full picture puts them, within a level of
// its Lanczos reduction.
TEST_F(SmoothScalingTest, OddSidesReducedWhileDecodingStayInPlace) {
    const std::string path = writeJpeg("odd.jpg", photo(1203, 901));
    const Bitmap full = readPictureFile(path, pictureFormats());
    RenderRequest request;
    request.path = path;
    request.thumbnail = square(100);
    request.largePicture = true;
    request.largePictureBox = square(300); // both from 301 x 226, decoded at a quarter
    const RenderedBitmaps outputs = renderBitmaps(request, pictureFormats());
    for (const auto& [picture, width, height] :
         {std::tuple{&*outputs.thumbnail, 100, 75}, std::tuple{&*outputs.largePicture, 300, 225}}) {
        ASSERT_EQ(picture->width(), width);
        ASSERT_EQ(picture->height(), height);
        const auto difference =
            testing::meanDifference(*picture, testing::lanczosReference(full, width, height));
        for (const double channel : difference) {
            EXPECT_LE(channel, 1.0) << width;
        }
    }
}

} // namespace
} // namespace vellumar
