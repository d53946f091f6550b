#include <vector>

#include <gtest/gtest.h>

#include "imaging/crop_align.h"
#include "imaging/shrink_on_load.h"

namespace vellumar {
namespace {

constexpr CropAlign kNoCrop = CropAlign::NoCrop;
constexpr CropAlign kCenter = CropAlign::Center;

PictureBox square(int side) {
    return {side, side, true, 0, kWhite};
}

TEST(ShrinkOnLoad, OnlyAspectKeepingReductionsAreAveraged) {
    const PictureSize photoSize{4000, 3000};
    EXPECT_EQ(averagedSize(square(100), kNoCrop, photoSize), (PictureSize{100, 75}));
    EXPECT_EQ(averagedSize(square(100), kNoCrop, {3000, 4000}), (PictureSize{75, 100}));
    EXPECT_EQ(averagedSize({100, 50, true, 0, kWhite}, kNoCrop, {80, 60}), (PictureSize{100, 75}));
    // Numbers below NoCrop, which a project file may hold, scale as NoCrop does.
    EXPECT_TRUE(averagedSize(square(100), static_cast<CropAlign>(-1), photoSize));
    EXPECT_FALSE(averagedSize(square(100), kCenter, photoSize));                 // a window
    EXPECT_FALSE(averagedSize({100, 80, false, 0, kWhite}, kNoCrop, photoSize)); // exact size
    EXPECT_FALSE(averagedSize(square(100), kNoCrop, {100, 64}));                 // fits: copied
}

TEST(ShrinkOnLoad, TheDecodeIsTheSmallestThatStillCoversEveryOutput) {
    const PictureSize photoSize{4000, 3000};
    const auto reduction = [](PictureSize full, std::vector<PictureSize> sizes) {
        return decodeReduction(full, sizes);
    };
    EXPECT_EQ(reduction(photoSize, {{100, 75}}), 8);
    EXPECT_EQ(reduction(photoSize, {{100, 75}, {600, 450}}), 4); // 500 x 375 is too small
    EXPECT_EQ(reduction(photoSize, {{500, 375}}), 8);
    EXPECT_EQ(reduction(photoSize, {{501, 375}}), 4);
    EXPECT_EQ(reduction(photoSize, {{500, 376}}), 4);
    EXPECT_EQ(reduction({4001, 3001}, {{501, 376}}), 8); // the reduced sides round up
    EXPECT_EQ(reduction(photoSize, {{1000, 1000}}), 2);
    EXPECT_EQ(reduction(photoSize, {{2001, 1500}}), 1);
    EXPECT_EQ(reduction({80, 60}, {{100, 75}}), 1); // an enlargement
    EXPECT_EQ(reduction(photoSize, {}), 8);
}

} // namespace
} // namespace vellumar
