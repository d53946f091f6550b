#include <gtest/gtest.h>

#include "color.h"
#include "integer_text.h"
#include "project_error.h"

namespace vellumar {
namespace {

TEST(IntegerText, ParsesWhatUsersAndFilesWrite) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger("  -7"), -7);
    EXPECT_EQ(parseInteger("+3"), 3);
    EXPECT_EQ(parseInteger("$FF"), 255);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST(IntegerText, RefusesWhatIsNotAWholeNumber) {
    for (const char* text : {"", " ", "-", "$", "12a", "1.5", "7 ", "abc", "2147483648",
                             "99999999999999999999", "$100000000"}) {
        EXPECT_EQ(parseInteger(text), std::nullopt) << '"' << text << '"';
    }
    try {
        toInteger("x");
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
}

TEST(ColourText, ConvertsBothWays) {
    EXPECT_EQ(GetRGB(255), "FF0000");
    EXPECT_EQ(GetRGB(65280), "00FF00");
    EXPECT_EQ(GetRGB(16711680), "0000FF");
    EXPECT_EQ(GetRGB(kWhite), "FFFFFF");
    EXPECT_EQ(HTMLColor2Color("FF8000"), 33023u);
    EXPECT_EQ(HTMLColor2Color("ff8000"), 33023u);
    EXPECT_EQ(HTMLColor2Color("0000FFextra"), 16711680u);
}

TEST(ColourText, NamesTheBadPairWithADollar) {
    try {
        HTMLColor2Color("FFZZ00");
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "'$ZZ' is not a valid integer value");
    }
}

} // namespace
} // namespace vellumar
