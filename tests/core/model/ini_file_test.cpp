#include <string>

#include <gtest/gtest.h>

#include "model/ini_file.h"

namespace vellumar {
namespace {

TEST(IniReaderTest, MatchesNamesIgnoringCaseAndTrimsValues) {
    const IniReader ini("[Setting]\r\n  PageTitle =  My Gallery  \r\nempty=\r\n"
                        "[IMAGE1]\nfile=/a/b.jpg\n");
    EXPECT_EQ(ini.value("setting", "pagetitle"), "My Gallery");
    EXPECT_EQ(ini.value("SETTING", "Empty"), "");
    EXPECT_EQ(ini.value("Image1", "FILE"), "/a/b.jpg");
    EXPECT_EQ(ini.value("Setting", "missing"), std::nullopt);
    EXPECT_EQ(ini.value("Nowhere", "file"), std::nullopt);
    EXPECT_EQ(ini.valueOr("project", "imgcount", "0"), "0");
}

TEST(IniReaderTest, ValuesLoseOnePairOfMatchingQuotes) {
    struct Value {
        const char* key;
        const char* written;
        const char* read;
    };
    const Value values[] = {
        {"double", "\"a b\"", "a b"}, {"single", "' x '", " x "},
        {"mixed", "\"a'", "\"a'"},    {"nested", "\"'a'\"", "'a'"},
        {"lone", "\"", "\""},         {"inner", "a \"b\" c", "a \"b\" c"},
        {"equals", "a=b", "a=b"},
    };
    std::string text = "[s]\n";
    for (const Value& value : values) {
        text += std::string(value.key) + "=" + value.written + "\n";
    }
    const IniReader ini(text);
    for (const Value& value : values) {
        EXPECT_EQ(ini.value("s", value.key), value.read) << value.key;
    }
}

TEST(IniReaderTest, LongValuesAreCutAfterTheQuotesGo) {
    const std::string long3000(3000, 'x');
    const IniReader ini("[s]\nlong=" + long3000 + "\nquoted=\"" + std::string(2047, 'y') +
                        "\"\nexact=" + std::string(2047, 'z') + "\n");
    EXPECT_EQ(ini.value("s", "long"), std::string(2047, 'x'));
    EXPECT_EQ(ini.value("s", "quoted"), std::string(2047, 'y'));
    EXPECT_EQ(ini.value("s", "exact"), std::string(2047, 'z'));
}

TEST(IniReaderTest, TheFirstOfRepeatedNamesCountsAndStrayLinesAreIgnored) {
    const IniReader ini("\xEF\xBB\xBFstray=1\n[a]\nk=first\nK=second\nno equals sign\n"
                        "[b]\nk=b\n[A]\nk=third\nonly=later\n");
    EXPECT_EQ(ini.value("a", "k"), "first");
    EXPECT_EQ(ini.value("a", "only"), std::nullopt);
    EXPECT_EQ(ini.value("b", "k"), "b");
    EXPECT_EQ(ini.value("", "stray"), std::nullopt);
}

TEST(IniWriterTest, WritesValuesAsTheyStandWithCrLf) {
    IniWriter ini;
    ini.section("project");
    ini.key("name", " spaced \"quoted\" ");
    ini.section("Image1");
    ini.key("file", "");
    EXPECT_EQ(ini.text(), "[project]\r\nname= spaced \"quoted\" \r\n\r\n[Image1]\r\nfile=\r\n");
}

} // namespace
} // namespace vellumar
