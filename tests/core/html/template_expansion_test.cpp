#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/line_expander.h"
#include "html/template_file.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;

// A page kind whose page tokens read "[name]" and whose cells read "{name}" twice, so the
// expander's own decisions are visible.
class EchoTokens : public PageTokenHandler {
public:
    bool protect = false;
    NavPosition position = NavPosition::Top;

    bool protectsPage() const override { return protect; }
    NavPosition navPosition() const override { return position; }
    std::string pageToken(std::string_view name) override { return "[" + std::string(name) + "]"; }
    void appendCells(const TemplateLines& cellSection, TemplateLines& output) override {
        for (int cell = 0; cell < 2; ++cell) {
            appendExpandedCells(
                cellSection, [](std::string_view name) { return "{" + std::string(name) + "}"; },
                output);
        }
    }
};

std::string echo(std::string_view line) {
    return expandLine(line, [](std::string_view name) { return "[" + std::string(name) + "]"; });
}

TEST(TemplateText, SplitsAtEveryKindOfLineEndAndStopsAtNul) {
    EXPECT_THAT(splitLines("a\r\nb\rc\nd"), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(splitLines("  a  \n\n"), ElementsAre("  a  ", ""));
    EXPECT_THAT(splitLines("a\nb\0c\nd"), ElementsAre("a", "b"));
    EXPECT_THAT(splitLines(std::string_view("x\n\0y", 4)), ElementsAre("x"));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(LineExpansion, ReplacesEveryTokenAndKeepsTheTextAround) {
    EXPECT_EQ(echo("  <td>  plain\t "), "  <td>  plain\t ");
    EXPECT_EQ(echo("<%title%> - <%title%>"), "[title] - [title]");
    EXPECT_EQ(echo("a<%x%>b<%y%>c"), "a[x]b[y]c");
    EXPECT_EQ(echo("<%%>"), "[]");
    EXPECT_EQ(echo("<% title %>"), "[ title ]");
}

TEST(LineExpansion, ALoneMarkerEmptiesWhatFollowsIt) {
    EXPECT_EQ(echo("<table width=100%>"), "");
    EXPECT_EQ(echo("<%open only"), "");
    EXPECT_EQ(echo("<%a%> then 50%> done"), "[a]");
    EXPECT_EQ(echo("<%a%> tail <%b"), "[a]");
    // The closing marker of a token is looked for after its opening one.
    EXPECT_EQ(echo("<%>"), "");
}

TEST(TemplateExpansion, PassesEveryOtherNameToThePageKindAsWritten) {
    EchoTokens tokens;
    const TemplateLines page = expandTemplate({"<%Title%>!", "x<%default begin%>y"}, tokens);
    EXPECT_THAT(page, ElementsAre("[Title]!", "x[default begin]y"));
}

TEST(TemplateExpansion, CellSectionComesOutBeforeTheRestOfItsBeginLine) {
    EchoTokens tokens;
    const TemplateLines page = expandTemplate(
        {"head", "<table border=1><%thumb cell begin%><!-- cells -->",
         "<td><%thumb file%> <%title%></td>", "plain cell", "   <%thumb cell end%>  ", "tail"},
        tokens);
    EXPECT_THAT(page, ElementsAre("head", "<td>{thumb file} {title}</td>", "plain cell",
                                  "<td>{thumb file} {title}</td>", "plain cell",
                                  "<table border=1><!-- cells -->", "tail"));
}

TEST(TemplateExpansion, EmptyCellSectionAndLoneBeginTokenGiveOneEmptyLine) {
    EchoTokens tokens;
    EXPECT_THAT(expandTemplate({"<%thumb cell begin%>", "<%thumb cell end%>", "x"}, tokens),
                ElementsAre("", "x"));
}

TEST(TemplateExpansion, CellSectionWithoutItsEndLineIsATemplateError) {
    EchoTokens tokens;
    const TemplateLines lines = {"<%thumb cell begin%>", "<td></td>", "<%Thumb cell end%>"};
    try {
        expandTemplate(lines, tokens);
        FAIL() << "expected a template error";
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "The style template has a thumbnail cell section without its "
                                   "\"<%thumb cell end%>\" line.");
    }
}

TEST(TemplateExpansion, NavigationTokensSpeakOnlyInsideAnOpenRegion) {
    const TemplateLines lines = {"<%nav next%>", "<%top nav link%>", "<%nav first%> text",
                                 "<%top nav link end%><%nav last%>",
                                 "<%bottom nav link%><%nav previous%><%bottom nav link end%>"};
    EchoTokens tokens;
    tokens.position = NavPosition::Top;
    EXPECT_THAT(expandTemplate(lines, tokens), ElementsAre("", "", "[nav first] text", "", ""));
    tokens.position = NavPosition::Bottom;
    EXPECT_THAT(expandTemplate(lines, tokens), ElementsAre("", "", " text", "", "[nav previous]"));
    tokens.position = NavPosition::Both;
    EXPECT_THAT(expandTemplate(lines, tokens),
                ElementsAre("", "", "[nav first] text", "", "[nav previous]"));
}

TEST(TemplateExpansion, ClosedNavigationBarLeavesOutItsLines) {
    const TemplateLines lines = {"a",
                                 "<%top nav bar%>",
                                 "<nav><%nav first%>",
                                 "</nav>",
                                 "<%top nav bar end%> dropped with its bar when closed",
                                 "b <%nav last%>",
                                 "<nav><%bottom nav bar%><%nav next%><%bottom nav bar end%></nav>",
                                 "c"};
    EchoTokens tokens;
    tokens.position = NavPosition::Top;
    EXPECT_THAT(expandTemplate(lines, tokens),
                ElementsAre("a", "", "<nav>[nav first]", "</nav>",
                            " dropped with its bar when closed", "b ", "c"));
    tokens.position = NavPosition::Bottom;
    EXPECT_THAT(expandTemplate(lines, tokens),
                ElementsAre("a", "b ", "<nav>[nav next]</nav>", "c"));
    // A bar that is never closed leaves out the rest of the page.
    EXPECT_THAT(expandTemplate({"a", "<%top nav bar%>", "b"}, tokens), ElementsAre("a"));
}

TEST(TemplateExpansion, ProtectionGoesBeforeAnExactHeadEndLineOnly) {
    EchoTokens tokens;
    tokens.protect = true;
    const TemplateLines page =
        expandTemplate({"  </head>", "</Head>", "</HEAD>", "</head>", "</head><%x%>"}, tokens);
    ASSERT_EQ(page.size(), 5u + 2 * kProtectionLines.size());
    EXPECT_EQ(page[0], "  </head>");
    EXPECT_EQ(page[1], "</Head>");
    EXPECT_EQ(page[2], kProtectionLines[0]);
    EXPECT_EQ(page[7], "</HEAD>");
    EXPECT_EQ(page[13], "</head>");
    EXPECT_EQ(page[14], "</head>[x]");
    EXPECT_EQ(kProtectionLines[2].back(), ' ');

    tokens.protect = false;
    EXPECT_EQ(expandTemplate({"</head>"}, tokens).size(), 1u);
}

TEST(TemplateExpansion, CellLinesNeverGetProtection) {
    EchoTokens tokens;
    tokens.protect = true;
    EXPECT_THAT(expandTemplate({"<%thumb cell begin%>", "</head>", "<%thumb cell end%>"}, tokens),
                ElementsAre("</head>", "</head>", ""));
}

} // namespace
} // namespace vellumar
