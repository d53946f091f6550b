#include <gtest/gtest.h>

#include "imaging/crop.h"
#include "imaging/gen_pic.h"
#include "imaging/keep_ratio_stretch.h"
#include "imaging/raster.h"
#include "imaging/rotate.h"
#include "model/enums.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using testing::filledPicture;
using testing::markedPicture;
using testing::markOf;

constexpr Rgb kBlackPixel{0, 0, 0};
constexpr CropAlign kNoCrop = CropAlign::NoCrop;
constexpr CropAlign kTopLeft = CropAlign::TopLeft;
constexpr CropAlign kCenter = CropAlign::Center;
constexpr CropAlign kRightBottom = CropAlign::RightBottom;

TEST(Crop, CentresTheWindowRoundingHalvesToEven) {
    const Bitmap window = Crop(markedPicture(101, 80), kCenter, 50, 50);
    ASSERT_EQ(window.width(), 50);
    ASSERT_EQ(window.height(), 50);
    EXPECT_EQ(window.pixel(0, 0), markOf(26, 15)); // 25.5 rounds to 26
    EXPECT_EQ(window.pixel(49, 49), markOf(75, 64));

    EXPECT_EQ(Crop(markedPicture(57, 10), kCenter, 50, 10).pixel(0, 0), markOf(4, 0)); // 3.5
    EXPECT_EQ(Crop(markedPicture(55, 10), kCenter, 50, 10).pixel(0, 0), markOf(2, 0)); // 2.5
}

TEST(Crop, WindowLargerThanThePictureGetsBlackBands) {
    const Bitmap centred = Crop(markedPicture(40, 40), kCenter, 50, 50);
    EXPECT_EQ(centred.pixel(4, 4), kBlackPixel);
    EXPECT_EQ(centred.pixel(5, 5), markOf(0, 0));
    EXPECT_EQ(centred.pixel(44, 44), markOf(39, 39));
    EXPECT_EQ(centred.pixel(45, 45), kBlackPixel);

    const Bitmap topLeft = Crop(markedPicture(40, 40), kTopLeft, 50, 50);
    EXPECT_EQ(topLeft.pixel(0, 0), markOf(0, 0));
    EXPECT_EQ(topLeft.pixel(40, 10), kBlackPixel);
    EXPECT_EQ(topLeft.pixel(10, 40), kBlackPixel);

    const Bitmap rightBottom = Crop(markedPicture(40, 40), kRightBottom, 50, 50);
    EXPECT_EQ(rightBottom.pixel(9, 20), kBlackPixel);
    EXPECT_EQ(rightBottom.pixel(20, 9), kBlackPixel);
    EXPECT_EQ(rightBottom.pixel(10, 10), markOf(0, 0));
    EXPECT_EQ(rightBottom.pixel(49, 49), markOf(39, 39));
}

TEST(Crop, RightBottomTakesTheFarEndAndUnknownValuesCentre) {
    const Bitmap right = Crop(markedPicture(200, 100), kRightBottom, 100, 100);
    EXPECT_EQ(right.pixel(0, 0), markOf(100, 0));
    EXPECT_EQ(right.pixel(99, 99), markOf(199, 99));

    EXPECT_EQ(Crop(markedPicture(200, 100), static_cast<CropAlign>(7), 100, 100).pixel(0, 0),
              markOf(50, 0));
}

TEST(Crop, PaletteSourceGives24BitResult) {
    Bitmap palette = Bitmap::withPalette(4, 4, {{1, 2, 3}, {200, 100, 50}});
    palette.setPixel(1, 1, {200, 100, 50});
    const Bitmap window = Crop(palette, kTopLeft, 2, 2);
    EXPECT_EQ(window.layout(), Bitmap::Layout::Rgb24);
    EXPECT_EQ(window.pixel(0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(window.pixel(1, 1), (Rgb{200, 100, 50}));
}

TEST(Rotate, QuarterTurnsSwapTheSides) {
    const Bitmap source = markedPicture(3, 2);
    const Bitmap clockwise = Rotate(source, 90);
    ASSERT_EQ(clockwise.width(), 2);
    ASSERT_EQ(clockwise.height(), 3);
    EXPECT_EQ(clockwise.pixel(1, 0), markOf(0, 0));
    EXPECT_EQ(clockwise.pixel(0, 0), markOf(0, 1));
    EXPECT_EQ(clockwise.pixel(0, 2), markOf(2, 1));

    const Bitmap counter = Rotate(source, 270);
    ASSERT_EQ(counter.width(), 2);
    ASSERT_EQ(counter.height(), 3);
    EXPECT_EQ(counter.pixel(0, 2), markOf(0, 0));
    EXPECT_EQ(counter.pixel(1, 0), markOf(2, 1));
}

TEST(Rotate, HalfTurnExchangesBothTopAndBottomAndLeftAndRight) {
    const Bitmap turned = Rotate(markedPicture(3, 2), 180);
    ASSERT_EQ(turned.width(), 3);
    ASSERT_EQ(turned.height(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(turned.pixel(2 - x, 1 - y), markOf(x, y)) << x << "," << y;
        }
    }
}

TEST(Rotate, LargePicturesCrossingTilesTurnEveryPixel) {
    const Bitmap source = markedPicture(131, 70);
    const Bitmap there = Rotate(source, 90);
    const Bitmap back = Rotate(there, 270);
    ASSERT_EQ(back.width(), 131);
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 131; ++x) {
            ASSERT_EQ(there.pixel(69 - y, x), markOf(x, y));
            ASSERT_EQ(back.pixel(x, y), markOf(x, y));
        }
    }
}

TEST(Rotate, APictureNotNeededAnyMoreTurnsAsACopyWould) {
    const Bitmap source = markedPicture(131, 70);
    for (const int angle : {0, 90, 180, 270}) {
        const Bitmap expected = Rotate(source, angle);
        Bitmap picture = source;
        const Bitmap turned = Rotate(std::move(picture), angle);
        ASSERT_EQ(turned.width(), expected.width()) << angle;
        for (int y = 0; y < turned.height(); ++y) {
            for (int x = 0; x < turned.width(); ++x) {
                ASSERT_EQ(turned.pixel(x, y), expected.pixel(x, y)) << angle;
            }
        }
    }
}

TEST(Rotate, HalfTurnOfAPictureNotNeededAnyMoreKeepsItsMemory) {
    Bitmap picture = markedPicture(5, 3);
    const std::uint8_t* pixels = picture.row(0);
    const Bitmap turned = Rotate(std::move(picture), 180);
    EXPECT_EQ(turned.row(0), pixels);
    EXPECT_EQ(turned.pixel(0, 0), markOf(4, 2));
}

TEST(Rotate, OtherAnglesCopy) {
    const Bitmap copy = Rotate(markedPicture(3, 2), 45);
    EXPECT_EQ(copy.width(), 3);
    EXPECT_EQ(copy.pixel(2, 1), markOf(2, 1));
}

TEST(Rotate, OnlyQuarterTurnsTurn) {
    EXPECT_EQ(quarterTurnsToDegrees(0), 0);
    EXPECT_EQ(quarterTurnsToDegrees(3), 270);
    EXPECT_EQ(quarterTurnsToDegrees(4), 0);
    EXPECT_EQ(quarterTurnsToDegrees(-1), 0);
    EXPECT_EQ(quarterTurnsToDegrees(2147483647), 0);
}

TEST(KeepRatioStretch, LongerSideBecomesTheBoxSide) {
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{400, 300, 100, 75}, Case{300, 400, 75, 100},
                          Case{100, 100, 100, 100}, Case{50, 80, 50, 80}, Case{99, 101, 98, 100},
                          Case{150, 100, 100, 67}, Case{200, 100, 100, 50}}) {
        const Bitmap target = KeepRatioStretch(100, 100, true, markedPicture(c.width, c.height));
        EXPECT_EQ(target.width(), c.expectedWidth) << c.width << "x" << c.height;
        EXPECT_EQ(target.height(), c.expectedHeight) << c.width << "x" << c.height;
    }
}

TEST(KeepRatioStretch, DerivedSideIsNotHeldToTheBox) {
    EXPECT_EQ(keepRatioSize(100, 50, 400, 300), (PictureSize{100, 75}));
    EXPECT_EQ(keepRatioSize(100, 50, 80, 60), (PictureSize{100, 75})); // enlarged
    EXPECT_EQ(keepRatioSize(100, 100, 300, 2), (PictureSize{100, 1})); // 0.67 rounds up
    EXPECT_EQ(keepRatioSize(100, 100, 200, 1), (PictureSize{100, 0})); // 0.5 rounds to even
}

// Keeping the proportions inside a 600 x 400 box: whichever side reaches the box first.
TEST(KeepRatioStretch, FitInsideHoldsBothSidesToTheBox) {
    struct Case {
        int width, height;
        PictureSize expected;
    };
    for (const Case& c : {Case{2000, 3000, {267, 400}}, // portrait: the height decides
                          Case{3000, 1000, {600, 200}}, // wide landscape: the width decides
                          Case{3000, 2500, {480, 400}}, // a landscape taller than the box
                          Case{900, 900, {400, 400}},   // square
                          Case{300, 200, {300, 200}},   // fits: never enlarged
                          Case{6000, 4000, {600, 400}}, // the box's own shape
                          Case{60000, 1, {600, 1}}}) {  // never thinner than a pixel
        EXPECT_EQ(fitInsideSize(600, 400, c.width, c.height), c.expected)
            << c.width << "x" << c.height;
    }
    // In a square box it is the rule of one flag.
    for (const auto& [width, height] : {std::pair{400, 300}, {300, 400}, {99, 101}, {150, 100}}) {
        EXPECT_EQ(fitInsideSize(100, 100, width, height), keepRatioSize(100, 100, width, height));
    }
}

// A quarter-turned picture must fit the box once turned, so it is shaped to the turned box.
TEST(GenPic, FitInsideBoxHoldsTheTurnedPicture) {
    const PictureBox box{.width = 600, .height = 400, .keepRatio = true, .fitInside = true};
    const Bitmap upright = GenPic(markedPicture(300, 200), box, kNoCrop, 0);
    EXPECT_EQ(upright.width(), 300);
    const Bitmap turned = GenPic(markedPicture(2000, 3000), box, kNoCrop, 1);
    EXPECT_EQ(turned.width(), 600);
    EXPECT_EQ(turned.height(), 400);
    const Bitmap halfTurned = GenPic(markedPicture(2000, 3000), box, kNoCrop, 2);
    EXPECT_EQ(halfTurned.width(), 267);
    EXPECT_EQ(halfTurned.height(), 400);
}

TEST(KeepRatioStretch, UnblendedScaleDropsAndRepeatsWholePixels) {
    const Bitmap reduced = KeepRatioStretch(2, 2, true, markedPicture(4, 3)); // 2 x nearest(1.5)
    ASSERT_EQ(reduced.height(), 2);
    EXPECT_EQ(reduced.pixel(0, 0), markOf(0, 0));
    EXPECT_EQ(reduced.pixel(1, 1), markOf(2, 1));

    const Bitmap enlarged = stretchUnblended(markedPicture(2, 1), 5, 2);
    for (const auto& [x, sourceX] : {std::pair{0, 0}, {2, 0}, {3, 1}, {4, 1}}) {
        EXPECT_EQ(enlarged.pixel(x, 1), markOf(sourceX, 0)) << x;
    }
}

TEST(KeepRatioStretch, FittingPictureIsCopiedWithItsLayout) {
    const Bitmap palette = Bitmap::withPalette(5, 5, {{9, 9, 9}});
    const Bitmap target = KeepRatioStretch(100, 100, true, palette);
    EXPECT_EQ(target.layout(), Bitmap::Layout::Palette8);
    EXPECT_EQ(target.pixel(4, 4), (Rgb{9, 9, 9}));
}

TEST(KeepRatioStretch, FilteredMeansGivesTheSameSize) {
    const Bitmap target = KeepRatioStretch(100, 100, false, filledPicture(400, 300, {10, 20, 30}));
    EXPECT_EQ(target.width(), 100);
    EXPECT_EQ(target.height(), 75);
    EXPECT_EQ(target.pixel(50, 40), (Rgb{10, 20, 30}));
}

TEST(GenPic, BorderAddsTwiceItsWidth) {
    const Bitmap framed = GenPic(markedPicture(100, 75), {100, 100, true, 3, kBlack}, kNoCrop, 0);
    EXPECT_EQ(framed.width(), 106);
    EXPECT_EQ(framed.height(), 81);
    EXPECT_EQ(framed.pixel(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(framed.pixel(2, 40), kBlackPixel);   // outer half of the pen, in the margin
    EXPECT_EQ(framed.pixel(4, 40), kBlackPixel);   // inner half, over the picture
    EXPECT_EQ(framed.pixel(5, 40), markOf(2, 37)); // the picture beyond the pen
}

// With width 1 each side is drawn up to but not including its end point.
TEST(GenPic, OneWideOutlineCoversExactlyTheDocumentedPixels) {
    const Rgb red{255, 0, 0};
    const Rgb white{255, 255, 255};
    const Bitmap framed = GenPic(filledPicture(6, 4, {0, 0, 200}),
                                 {10, 10, true, 1, makeColor(255, 0, 0)}, kNoCrop, 0);
    ASSERT_EQ(framed.width(), 8);
    ASSERT_EQ(framed.height(), 6);
    const int w = framed.width();
    const int h = framed.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool outline =
                (x == 1 && y >= 1 && y <= h - 2) || (y == h - 1 && x >= 1 && x <= w - 2) ||
                (x == w - 1 && y >= 2 && y <= h - 1) || (y == 1 && x >= 2 && x <= w - 1);
            const bool picture = x >= 1 && y >= 1 && x <= w - 2 && y <= h - 2;
            const Rgb expected = outline ? red : picture ? Rgb{0, 0, 200} : white;
            EXPECT_EQ(framed.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(GenPic, CropIgnoresKeepRatioAndRotationFollowsShaping) {
    const Bitmap picture = GenPic(markedPicture(200, 100), {50, 30, true, 0, kBlack}, kTopLeft, 1);
    ASSERT_EQ(picture.width(), 30);
    ASSERT_EQ(picture.height(), 50);
    EXPECT_EQ(picture.pixel(29, 0), markOf(0, 0)); // full resolution, turned clockwise
}

TEST(GenPic, ExactStretchIgnoresTheAspect) {
    const Bitmap picture =
        GenPic(filledPicture(400, 300, {1, 2, 3}), {20, 50, false, 0, kBlack}, kNoCrop, 0);
    EXPECT_EQ(picture.width(), 20);
    EXPECT_EQ(picture.height(), 50);
    EXPECT_EQ(picture.pixel(10, 25), (Rgb{1, 2, 3}));
}

TEST(GenPic, EmptyBoxGivesOnlyTheBorder) {
    EXPECT_TRUE(GenPic(markedPicture(10, 10), {0, 0, false, 0, kBlack}, kCenter, 0).isEmpty());
    const Bitmap framed = GenPic(markedPicture(10, 10), {0, 0, false, 2, kBlack}, kNoCrop, 0);
    EXPECT_EQ(framed.width(), 4);
    EXPECT_EQ(framed.height(), 4);
}

} // namespace
} // namespace vellumar
