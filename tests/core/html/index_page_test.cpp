#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/index_page.h"
#include "html/line_expander.h"
#include "project_error.h"
#include "support/gallery_fixture.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::readFile;
using testing::writeFile;

class IndexPageTest : public testing::GalleryFixture {
protected:
    IndexPageTest() { std::filesystem::create_directories(dest()); }

    std::vector<std::string> writePage(const IndexPageSpan& span) {
        const OutputPolicy policy(settings.Overwrite, frontend);
        GenIndexPage(pageContext(policy), span, scratch.folder() + "gallery");
        return pageLines(dest() + (span.page == 1 ? settings.IdxFileName
                                                  : "index" + std::to_string(span.page) + ".htm"));
    }

    // The line of the written page that holds a cell of the given picture file.
    static std::string cellOf(const std::vector<std::string>& page, const std::string& file) {
        const auto it = std::find_if(page.begin(), page.end(), [&](const std::string& line) {
            return line.find(file) != std::string::npos;
        });
        return it == page.end() ? std::string() : *it;
    }

    static long countOf(const std::vector<std::string>& page, const std::string& line) {
        return std::count(page.begin(), page.end(), line);
    }
};

TEST_F(IndexPageTest, WholeFirstPage) {
    addPictures(3);
    settings.ThumbTableCol = "2";
    settings.ThumbTableRow = "1";
    settings.ThumbProtect = true;
    settings.IdxPageBGColor = {true, makeColor(0x12, 0x34, 0x56)};
    settings.ThumbTableBorderColor = makeColor(255, 0, 0);
    settings.ThumbTableBorderWidth = "2";

    std::vector<std::string> expected = {"<html>", "<head>", "<title>My Gallery</title>",
                                         R"(<link rel="stylesheet" href="plain.css">)"};
    expected.insert(expected.end(), kProtectionLines.begin(), kProtectionLines.end());
    const std::vector<std::string> rest = {
        "</head>",
        "",
        "",
        "",
        R"(<body background="" bgcolor=123456>)",
        "",
        R"(<a href="index.htm"><img src="first.gif" alt="First page" border=0></a>)"
        R"(<img src="prev.gif" alt="Previous page" border=0>)"
        R"(<a href="index2.htm"><img src="next.gif" alt="Next page" border=0></a>)"
        R"(<a href="index2.htm"><img src="last.gif" alt="Last page" border=0></a>)",
        "",
        R"(<table border=2 cellpadding=5 cellspacing=5 background="" bgcolor="" bordercolor=FF0000>)",
        "<tr>",
        R"(<td><a href="picpage/page1.htm"><img src="thumb/tn_1.jpg" width=100 height=75 )"
        R"(alt="Click for large picture"></a><br>photo1.jpg<br>640 X 480</td>)",
        R"(<td><a href="picpage/page2.htm"><img src="thumb/tn_2.jpg" width=100 height=75 )"
        R"(alt="Click for large picture"></a><br>photo2.jpg<br>640 X 480</td>)",
        "</tr>",
        "",
        "</table>",
        " | ",
        "</body>",
        "</html>",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_THAT(writePage({1, 2, 1, 2}), ElementsAreArray(expected));
}

TEST_F(IndexPageTest, CellOfTheWorkedExample) {
    addPictures(3);
    entries[2].title = "beach.jpg";
    entries[2].builtPicWidth = 600;
    entries[2].builtPicHeight = 450;
    style = {"<%thumb cell begin%>",
             R"(<td><a href="<%thumb href%>"><img src="<%thumb file%>" width=<%thumb width%> )"
             R"(height=<%thumb height%> alt="<%thumb alt%>"></a><br><%thumb title%><br>)"
             R"(<%thumb size%></td>)",
             "<%thumb cell end%>"};
    EXPECT_THAT(writePage({3, 3, 1, 1}),
                ElementsAre("<tr>",
                            R"(<td><a href="picpage/page3.htm"><img src="thumb/tn_3.jpg" )"
                            R"(width=100 height=75 alt="Click for large picture"></a><br>)"
                            R"(beach.jpg<br>600 X 450</td>)",
                            ""));
}

TEST_F(IndexPageTest, SrcsetNamesBothThumbnailsWhileDoubleSizeIsOn) {
    addPictures(3);
    style = {"<%pic index page%>|<%thumb srcset%>|<%pic alt%>", "<%thumb cell begin%>",
             R"(<img src="<%thumb file%>" srcset="<%thumb srcset%>" alt="<%pic alt%>">)",
             "<%pic index page%>", "<%thumb cell end%>"};
    EXPECT_THAT(
        writePage({3, 3, 1, 1}),
        ElementsAre("||", "<tr>",
                    R"(<img src="thumb/tn_3.jpg" srcset="thumb/tn_3.jpg 1x, thumb/tn_3@2x.jpg 2x" )"
                    R"(alt="">)",
                    "", ""));

    // A blank or comma in the names would split the list; the file names stay the same.
    settings.ThumbPrefix = "my tn,";
    settings.ThumbSuffix = "@2x";
    EXPECT_EQ(cellOf(writePage({3, 3, 1, 1}), "srcset"),
              R"(<img src="thumb/my tn,3@2x.jpg" srcset="thumb/my%20tn%2C3@2x.jpg 1x, )"
              R"(thumb/my%20tn%2C3@2x@2x.jpg 2x" alt="">)");

    settings.HiDpiThumbs = false;
    EXPECT_EQ(cellOf(writePage({3, 3, 1, 1}), "srcset"),
              R"(<img src="thumb/my tn,3@2x.jpg" srcset="" alt="">)");
}

TEST_F(IndexPageTest, RowsAfterThePagesFirstLoadLazilyAndCellsCarryTheirThumbnailsColour) {
    addPictures(5);
    settings.ThumbTableCol = "2";
    thumbnailTones = {makeColor(0x12, 0xAB, 0xEF), std::nullopt, makeColor(1, 2, 3)};
    style = {"<%thumb loading%>|<%thumb color%>", "<%thumb cell begin%>",
             R"(<img src="<%thumb file%>"<%thumb loading%> style="--tone:<%thumb color%>">)",
             "<%thumb cell end%>"};
    EXPECT_THAT(writePage({1, 5, 1, 1}),
                ElementsAre("|", "<tr>", R"(<img src="thumb/tn_1.jpg" style="--tone:#12ABEF">)",
                            R"(<img src="thumb/tn_2.jpg" style="--tone:">)", "</tr>", "<tr>",
                            R"(<img src="thumb/tn_3.jpg" loading="lazy" decoding="async" )"
                            R"(style="--tone:#010203">)",
                            R"(<img src="thumb/tn_4.jpg" loading="lazy" decoding="async" )"
                            R"(style="--tone:">)",
                            "</tr>", "<tr>",
                            R"(<img src="thumb/tn_5.jpg" loading="lazy" decoding="async" )"
                            R"(style="--tone:">)",
                            ""));
    // Each page's own first row is in view when it opens.
    EXPECT_THAT(writePage({3, 5, 2, 2}),
                ElementsAre("|", "<tr>", R"(<img src="thumb/tn_3.jpg" style="--tone:#010203">)",
                            R"(<img src="thumb/tn_4.jpg" style="--tone:">)", "</tr>", "<tr>",
                            R"(<img src="thumb/tn_5.jpg" loading="lazy" decoding="async" )"
                            R"(style="--tone:">)",
                            ""));
}

TEST_F(IndexPageTest, RowsCloseAfterEveryFullRowOnly) {
    addPictures(13);
    settings.ThumbTableCol = "4";
    const std::vector<std::string> first = writePage({1, 12, 1, 2});
    EXPECT_EQ(countOf(first, "<tr>"), 3);
    EXPECT_EQ(countOf(first, "</tr>"), 3);
    const std::vector<std::string> second = writePage({13, 13, 2, 2});
    EXPECT_EQ(countOf(second, "<tr>"), 1);
    EXPECT_EQ(countOf(second, "</tr>"), 0);
    const std::vector<std::string> none = writePage({5, 4, 1, 1});
    EXPECT_EQ(countOf(none, "<tr>"), 0);
}

TEST_F(IndexPageTest, CellTokensFollowTheSettings) {
    addPictures(7);
    entries[6].builtThumbWidth = 108;
    entries[6].builtPicWidth = 800;
    entries[6].builtPicHeight = 600;
    entries[6].info = "<b>Sunset</b> & sea";
    settings.TopOffset = "4";
    settings.LeftOffset = "-5";
    settings.ThumbPrefix = "small-";
    settings.ThumbSuffix = "_t";
    settings.ThumbInfoFromPicture = true;
    settings.ThumbShowTitle = false;

    settings.ThumbLink = ThumbLinkTarget::Picture;
    std::string cell = cellOf(writePage({7, 7, 1, 1}), "thumb/small-7_t.jpg");
    EXPECT_THAT(cell, ::testing::HasSubstr(R"(<a href="pic/pic7.jpg">)"));
    EXPECT_THAT(cell, ::testing::HasSubstr("width=104 height=80 alt=\"<b>Sunset</b> & sea\""));
    EXPECT_THAT(cell, ::testing::HasSubstr("<br><br>800 X 600</td>"));

    settings.ThumbLink = ThumbLinkTarget::None;
    settings.ThumbShowSize = false;
    cell = cellOf(writePage({7, 7, 1, 1}), "thumb/small-7_t.jpg");
    EXPECT_THAT(cell, ::testing::HasSubstr(R"(<a href="#">)"));
    EXPECT_THAT(cell, ::testing::EndsWith("<br><br></td>"));
}

TEST_F(IndexPageTest, PagePositionAndThumbnailLinkThatLeadsSomewhere) {
    addPictures(3);
    style = {"<%page number%> of <%page count%><%pic row begin%><%pic row end%>",
             "<%thumb cell begin%>",
             R"(<%thumb link%><img src="<%thumb file%>"><%thumb link end%>)", "<%thumb cell end%>"};
    settings.ThumbTableCol = "1";
    EXPECT_THAT(writePage({2, 2, 2, 3}), ElementsAre("2 of 3", "<tr>",
                                                     R"(<a href="picpage/page2.htm"><img )"
                                                     R"(src="thumb/tn_2.jpg"></a>)",
                                                     "</tr>", ""));
    settings.ThumbLink = ThumbLinkTarget::Picture;
    EXPECT_EQ(writePage({3, 3, 3, 3})[2],
              R"(<a href="pic/pic3.jpg"><img src="thumb/tn_3.jpg"></a>)");
    // A thumbnail that would link to "#" stands without a link.
    settings.ThumbLink = ThumbLinkTarget::None;
    EXPECT_EQ(writePage({1, 1, 1, 3})[2], R"(<img src="thumb/tn_1.jpg">)");
}

TEST_F(IndexPageTest, PageNamesAndBottomNavigation) {
    addPictures(3);
    settings.IdxFileName = "gallery.htm";
    settings.IdxNavLink = NavPosition::Bottom;
    const std::vector<std::string> second = writePage({2, 2, 2, 3});
    EXPECT_EQ(second[10], "");
    EXPECT_EQ(second[17],
              R"(<a href="gallery.htm"><img src="first.gif" alt="First page" border=0></a> | )"
              R"(<a href="index3.htm"><img src="last.gif" alt="Last page" border=0></a>)");
    EXPECT_TRUE(std::filesystem::exists(dest() + "index2.htm"));
    writePage({1, 1, 1, 3});
    EXPECT_TRUE(std::filesystem::exists(dest() + "gallery.htm"));
    EXPECT_FALSE(std::filesystem::exists(dest() + "index.htm"));
}

TEST_F(IndexPageTest, BackgroundPicturesArePlacedBesideThePage) {
    addPictures(1);
    style = {"<%page bg pic%>|<%table bg pic%>"};
    const std::string pics = scratch.folder() + "backgrounds/";
    writeFile(pics + "paper.GIF", "gif paper");
    writeFile(pics + "paper.jpg", "jpg paper");
    writeFile(pics + "paper.bmp", "bmp paper");
    writeFile(pics + "paper.png", "png paper");
    writeFile(pics + "cloth.bmp", "bmp cloth");

    settings.IdxPageBGPic = " " + pics + "paper.GIF ";
    EXPECT_THAT(writePage({1, 1, 1, 1}), ElementsAre(R"(PageBG.gif|"")"));
    EXPECT_EQ(readFile(dest() + "PageBG.gif"), "gif paper");

    settings.IdxPageBGPic = pics + "paper.jpg";
    settings.ThumbTableBGPic = pics + "cloth.bmp";
    EXPECT_THAT(writePage({1, 1, 1, 1}), ElementsAre("PageBG.jpg|TableBG.jpg"));
    EXPECT_EQ(readFile(dest() + "PageBG.jpg"), "jpg paper");
    EXPECT_EQ(readFile(dest() + "TableBG.jpg"), "JPEG of bmp cloth");

    settings.IdxPageBGPic = pics + "paper.bmp";
    settings.ThumbTableBGPic = "";
    EXPECT_THAT(writePage({1, 1, 1, 1}), ElementsAre(R"(PageBG.jpg|"")"));
    EXPECT_EQ(readFile(dest() + "PageBG.jpg"), "JPEG of bmp paper");
    EXPECT_THAT(conversions, ElementsAre(pics + "cloth.bmp", pics + "paper.bmp"));

    std::filesystem::remove(dest() + "PageBG.jpg");
    settings.IdxPageBGPic = pics + "paper.png";
    EXPECT_THAT(writePage({1, 1, 1, 1}), ElementsAre(R"(|"")"));
    settings.IdxPageBGPic = pics + "missing.jpg";
    settings.ThumbTableBGPic = pics + "missing.bmp";
    EXPECT_THAT(writePage({1, 1, 1, 1}), ElementsAre(R"(""|"")"));
    EXPECT_FALSE(std::filesystem::exists(dest() + "PageBG.jpg"));
}

TEST_F(IndexPageTest, AskModeKeepsAPageTheUserWantsKept) {
    addPictures(1);
    writeFile(scratch.folder() + "paper.jpg", "new paper");
    settings.IdxPageBGPic = scratch.folder() + "paper.jpg";
    writeFile(dest() + "index.htm", "old page");
    writeFile(dest() + "PageBG.jpg", "old paper");
    settings.Overwrite = OverwriteMode::Ask;

    frontend.answerNext(false);
    const OutputPolicy policy(settings.Overwrite, frontend);
    GenIndexPage(pageContext(policy), {1, 1, 1, 1}, scratch.folder() + "gallery");
    EXPECT_THAT(frontend.questions,
                ElementsAre("Overwrite existing file: " + dest() + "index.htm"));
    EXPECT_EQ(readFile(dest() + "index.htm"), "old page");
    EXPECT_EQ(readFile(dest() + "PageBG.jpg"), "new paper");

    frontend.answerNext(true);
    GenIndexPage(pageContext(policy), {1, 1, 1, 1}, dest());
    EXPECT_NE(readFile(dest() + "index.htm"), "old page");
}

TEST_F(IndexPageTest, ABrokenTemplateWritesNoPage) {
    addPictures(1);
    style = {"<html>", "<%thumb cell begin%>", "<td></td>"};
    EXPECT_THROW(writePage({1, 1, 1, 1}), ProjectError);
    EXPECT_FALSE(std::filesystem::exists(dest() + "index.htm"));

    style = {"<%thumb cell begin%>", "<%thumb width%>", "<%thumb cell end%>"};
    settings.TopOffset = "wide";
    EXPECT_THROW(writePage({1, 1, 1, 1}), ProjectError);
}

} // namespace
} // namespace vellumar
