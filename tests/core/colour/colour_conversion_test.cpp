#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "colour/colour_conversion.h"
#include "support/colour_fixtures.h"

namespace vellumar::testing {
namespace {

TEST(ColourConversionTest, DisplayP3ProfileOfOutputsIsCompactAndReadable) {
    EXPECT_TRUE(embeddedProfileOf(ColourSpace::Srgb).empty()); // sRGB outputs stay untagged
    const std::vector<std::uint8_t>& p3 = embeddedProfileOf(ColourSpace::DisplayP3);
    EXPECT_GT(p3.size(), 128u);
    EXPECT_LT(p3.size(), 1024u);
    const ColourDescription described = ColourDescription::iccProfile(p3);
    EXPECT_EQ(colourName(described), "Display P3 (ICC)");
    // It converts as the tests' own Display P3 profile does.
    const Bitmap picture = colourfulPicture(32, 16);
    Bitmap converted = picture;
    ASSERT_TRUE(convertColours(converted, described, ColourSpace::Srgb));
    EXPECT_LE(meanDifference(converted, convertedWithLcms(picture, displayP3Profile())), 0.5);
}

TEST(ColourConversionTest, WideGamutIsChosenOnlyForColoursBeyondSrgb) {
    const auto p3 = ColourDescription::iccProfile(displayP3Profile());
    EXPECT_EQ(outputSpaceFor(p3, false), ColourSpace::Srgb);
    EXPECT_EQ(outputSpaceFor(p3, true), ColourSpace::DisplayP3);
    EXPECT_EQ(outputSpaceFor(ColourDescription::adobeRgbFromExif(), true), ColourSpace::DisplayP3);
    EXPECT_EQ(outputSpaceFor(ColourDescription::iccProfile(proPhotoLikeProfile()), true),
              ColourSpace::DisplayP3);
    // sRGB primaries under another curve, gray and sRGB itself stay sRGB.
    EXPECT_EQ(outputSpaceFor(ColourDescription::calibrated(1.8, std::nullopt), true),
              ColourSpace::Srgb);
    EXPECT_EQ(outputSpaceFor(ColourDescription::iccProfile(grayProfile(2.2)), true),
              ColourSpace::Srgb);
    EXPECT_EQ(outputSpaceFor(ColourDescription::srgb(), true), ColourSpace::Srgb);
    // A damaged profile is shown as sRGB.
    EXPECT_EQ(outputSpaceFor(ColourDescription::iccProfile({1, 2, 3}), true), ColourSpace::Srgb);
}

TEST(ColourConversionTest, DamagedOrMismatchedProfilesAreRefusedAndLeavePixelsAlone) {
    std::vector<std::uint8_t> cut = displayP3Profile();
    cut.resize(cut.size() / 2);
    for (const auto& description :
         {ColourDescription::iccProfile({}), ColourDescription::iccProfile(cut),
          ColourDescription::calibrated(0, std::nullopt), ColourDescription::cicp(77, 13)}) {
        EXPECT_FALSE(colourUsable(description));
        Bitmap picture = colourfulPicture(8, 8);
        EXPECT_FALSE(convertColours(picture, description, ColourSpace::Srgb));
        EXPECT_EQ(meanDifference(picture, colourfulPicture(8, 8)), 0.0);
        EXPECT_EQ(colourName(description).find("(ICC)"), std::string::npos);
    }
    // A CMYK profile cannot take RGB samples, though it is whole.
    const auto press = ColourDescription::iccProfile(pressCmykProfileBytes());
    EXPECT_TRUE(colourUsable(press));
    EXPECT_FALSE(ColourConverter::make(press, SampleLayout::Rgb8, ColourSpace::Srgb));
    EXPECT_TRUE(ColourConverter::make(press, SampleLayout::Cmyk8, ColourSpace::Srgb));
}

TEST(ColourConversionTest, NamesSayWhatWasFound) {
    EXPECT_EQ(colourName(ColourDescription::srgb()), "sRGB");
    EXPECT_EQ(colourName(ColourDescription::adobeRgbFromExif()), "Adobe RGB (EXIF)");
    EXPECT_EQ(colourName(ColourDescription::iccProfile(proPhotoLikeProfile())),
              "ProPhoto-like RGB (ICC)");
    EXPECT_EQ(colourName(ColourDescription::calibrated(1.8, std::nullopt)), "RGB of gamma 1.8");
    EXPECT_EQ(
        colourName(ColourDescription::iccProfile(pressCmykProfileBytes())).rfind("CMYK (ICC: ", 0),
        0u);
    EXPECT_TRUE(ColourDescription::calibrated(2.2, std::nullopt).isSrgb());
}

// One transform serves every thread at once; each must get what one thread alone gets.
TEST(ColourConversionTest, SharedTransformsGiveTheSameResultOnEveryThread) {
    const auto adobe = ColourDescription::iccProfile(adobeLikeProfile());
    Bitmap alone = colourfulPicture(256, 64);
    ASSERT_TRUE(convertColours(alone, adobe, ColourSpace::Srgb));
    std::vector<Bitmap> pictures(4, colourfulPicture(256, 64));
    std::vector<std::thread> threads;
    for (Bitmap& picture : pictures) {
        threads.emplace_back([&picture, &adobe] {
            for (int round = 0; round < 5; ++round) {
                Bitmap copy = colourfulPicture(256, 64);
                convertColours(copy, adobe, ColourSpace::Srgb);
                picture = copy;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const Bitmap& picture : pictures) {
        EXPECT_EQ(meanDifference(picture, alone), 0.0);
    }
}

// More profiles than transforms are kept: a converter made before its transform was forgotten
// still converts, and a profile seen again converts as it did the first time.
TEST(ColourConversionTest, ForgottenTransformsLiveOnInTheirConvertersAndComeBackTheSame) {
    const auto adobe = ColourDescription::iccProfile(adobeLikeProfile());
    Bitmap first = colourfulPicture(64, 16);
    ASSERT_TRUE(convertColours(first, adobe, ColourSpace::Srgb));
    const auto held = ColourConverter::make(adobe, SampleLayout::Rgb8, ColourSpace::Srgb);
    ASSERT_TRUE(held);

    for (int i = 0; i < 100; ++i) {
        const auto other =
            ColourDescription::iccProfile(rgbProfile(kAdobeLike, 1.5 + i * 0.01, "other"));
        Bitmap picture = colourfulPicture(8, 2);
        ASSERT_TRUE(convertColours(picture, other, ColourSpace::Srgb)) << i;
    }

    Bitmap again = colourfulPicture(64, 16);
    ASSERT_TRUE(convertColours(again, adobe, ColourSpace::Srgb));
    EXPECT_EQ(meanDifference(again, first), 0.0);
    const Bitmap source = colourfulPicture(64, 16);
    Bitmap throughHeld(64, 16);
    for (int y = 0; y < source.height(); ++y) {
        held->convert(source.row(y), throughHeld.row(y), 64);
    }
    EXPECT_EQ(meanDifference(throughHeld, first), 0.0);
}

} // namespace
} // namespace vellumar::testing
