#include <utility>

#include <gtest/gtest.h>

#include "model/settings_rules.h"

namespace vellumar {
namespace {

// The width and height flags of a size, as one value so that a check names both.
using SizeFlags = std::pair<bool, bool>;
constexpr SizeFlags kWidthOnly{true, false};
constexpr SizeFlags kHeightOnly{false, true};
constexpr SizeFlags kBoth{true, true};

SizeFlags thumbFlags(const GallerySettings& s) {
    return {s.ThumbWidth.on, s.ThumbHeight.on};
}

SizeFlags picFlags(const GallerySettings& s) {
    return {s.PicWidth.on, s.PicHeight.on};
}

TEST(ThumbnailSizeFlags, TurningOffTheOnlyFlagSwapsTheFlags) {
    GallerySettings s;
    ASSERT_EQ(thumbFlags(s), kWidthOnly);
    setThumbWidthFlag(s, false);
    EXPECT_EQ(thumbFlags(s), kHeightOnly);
    setThumbHeightFlag(s, false);
    EXPECT_EQ(thumbFlags(s), kWidthOnly);
}

TEST(ThumbnailSizeFlags, CropKeepsBothFlagsOn) {
    GallerySettings s;
    setThumbFit(s, ThumbFit::Crop);
    EXPECT_EQ(thumbFlags(s), kBoth);
    setThumbWidthFlag(s, false);
    setThumbHeightFlag(s, false);
    EXPECT_EQ(thumbFlags(s), kBoth);
}

TEST(ThumbnailSizeFlags, StretchStartsWithTheWidthAloneAndAllowsTheHeightBack) {
    GallerySettings s;
    setThumbFit(s, ThumbFit::Crop);
    setThumbFit(s, ThumbFit::Stretch);
    EXPECT_EQ(thumbFlags(s), kWidthOnly);
    setThumbHeightFlag(s, true);
    EXPECT_TRUE(s.ThumbHeight.on);
}

TEST(ThumbnailSizeFlags, ValuesSurviveWhileTheFlagIsOff) {
    GallerySettings s;
    s.ThumbWidth.value = "250";
    setThumbWidthFlag(s, false);
    setThumbWidthFlag(s, true);
    EXPECT_EQ(s.ThumbWidth.value, "250");
}

TEST(LargePictureSizeFlags, TurningOffTheOnlyFlagIsRefused) {
    GallerySettings s;
    setPicHeightFlag(s, false);
    EXPECT_EQ(picFlags(s), kWidthOnly);
    setPicWidthFlag(s, false);
    EXPECT_EQ(picFlags(s), kWidthOnly);
}

TEST(LargePictureSizeFlags, RepairTurnsTheWidthOnWhenBothAreOff) {
    GallerySettings s;
    s.ThumbWidth.on = s.ThumbHeight.on = false;
    s.PicWidth.on = s.PicHeight.on = false;
    repairSizeFlags(s);
    EXPECT_EQ(thumbFlags(s), kWidthOnly);
    EXPECT_EQ(picFlags(s), kWidthOnly);
}

TEST(Editability, FollowsFlagsAndChoices) {
    GallerySettings s;
    auto e = editabilityOf(s);
    EXPECT_TRUE(e.thumbWidthValue);
    EXPECT_FALSE(e.thumbHeightValue);
    EXPECT_FALSE(e.picSizeFlagsAndBorderFlag);
    EXPECT_FALSE(e.picWidthValue);
    EXPECT_FALSE(e.picBorderWidthAndColor);
    EXPECT_FALSE(e.thumbBorderWidthAndColor);
    EXPECT_FALSE(e.idxPageBGColor);
    EXPECT_TRUE(e.thumbALT);
    EXPECT_TRUE(e.pageSubName);

    s.ResizePic = true;
    s.PicBorder = true;
    s.ThumbBorder = true;
    s.IdxPageBGColor.on = true;
    s.ThumbInfoFromPicture = true;
    s.PageSub.useDestFolder = true;
    e = editabilityOf(s);
    EXPECT_TRUE(e.picWidthValue);
    EXPECT_TRUE(e.picHeightValue);
    EXPECT_TRUE(e.picBorderWidthAndColor);
    EXPECT_TRUE(e.thumbBorderWidthAndColor);
    EXPECT_TRUE(e.idxPageBGColor);
    EXPECT_FALSE(e.thumbALT);
    EXPECT_FALSE(e.pageSubName);

    s.ResizePic = false; // the border flag alone does not make the border editable
    EXPECT_FALSE(editabilityOf(s).picBorderWidthAndColor);
}

TEST(IntegerChecks, NonIntegerTextGetsMessageAndResetValue) {
    struct Case {
        CheckedInteger setting;
        const char* message;
        const char* reset;
    };
    const Case cases[] = {
        {CheckedInteger::ThumbWidth, "Thumbnail width can only be integer.", "100"},
        {CheckedInteger::ThumbHeight, "Thumbnail height can only be integer.", "100"},
        {CheckedInteger::ThumbBorderWidth, "Thumbnail border width can only be integer.", "1"},
        {CheckedInteger::PicWidth, "Resized picture width can only be integer.", "600"},
        {CheckedInteger::PicHeight, "Resized picture height can only be integer.", "400"},
    };
    for (const Case& c : cases) {
        std::string text = "abc";
        EXPECT_EQ(checkIntegerText(c.setting, text), std::optional<std::string>(c.message));
        EXPECT_EQ(text, c.reset);
    }
}

TEST(IntegerChecks, TypedIntegersStandAsTyped) {
    for (const char* typed : {"5", "5000", "-3", "0"}) {
        std::string text = typed;
        EXPECT_EQ(checkIntegerText(CheckedInteger::ThumbWidth, text), std::nullopt);
        EXPECT_EQ(text, typed);
    }
}

TEST(Stepping, ClampsAtTheLimits) {
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbWidth, "995", +1), "1000");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbWidth, "1000", +1), "1000");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbWidth, "15", -1), "10");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbHeight, "5000", -1), "1000");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbBorderWidth, "1", -1), "1");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbBorderWidth, "15", +1), "15");
    EXPECT_EQ(stepIntegerText(SteppedInteger::PicWidth, "5", -1), "1");
    EXPECT_EQ(stepIntegerText(SteppedInteger::PicHeight, "99990", +1), "100000");
    EXPECT_EQ(stepIntegerText(SteppedInteger::PicBorderWidth, "1", -1), "1");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbTableCol, "50", +1), "50");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbTableCellPad, "0", -1), "0");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbTableBorderWidth, "50", +1), "50");
}

TEST(Stepping, NonIntegerTextGetsOnlyTheResetValue) {
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbWidth, "x", +1), "100");
    EXPECT_EQ(stepIntegerText(SteppedInteger::PicWidth, "", -1), "600");
    EXPECT_EQ(stepIntegerText(SteppedInteger::PicHeight, "1.5", +1), "400");
    EXPECT_EQ(stepIntegerText(SteppedInteger::ThumbBorderWidth, "two", +1), "1");
}

} // namespace
} // namespace vellumar
