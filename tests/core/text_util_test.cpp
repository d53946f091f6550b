#include <gtest/gtest.h>

#include "text_util.h"

namespace vellumar {
namespace {

TEST(TextUtilTest, Utf8IsWellFormedOnlyInItsShortestFormsAndRange) {
    for (const char* valid : {"", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                              "\xED\x9F\xBF", "\xF4\x8F\xBF\xBF", "\xEF\xBB\xBFx"}) {
        EXPECT_TRUE(isValidUtf8(valid)) << valid;
    }
    for (const char* invalid : {"caf\xE9", "\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF",
                                "\xED\xA0\x80", "\xF0\x80\x80\xAF", "\xF4\x90\x80\x80",
                                "\xF5\x80\x80\x80", "\xE2\x82", "\xE2\x82x", "\xFF"}) {
        EXPECT_FALSE(isValidUtf8(invalid)) << invalid;
    }
}

TEST(TextUtilTest, OnlyTheLineSplitterForTextCutsAtNul) {
    const std::string text("a\r\nb\0c\nd", 8);
    EXPECT_EQ(splitLines(text), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(splitLinesKeepingNul(text),
              (std::vector<std::string>{"a", std::string("b\0c", 3), "d"}));
}

} // namespace
} // namespace vellumar
