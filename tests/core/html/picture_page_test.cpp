#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/line_expander.h"
#include "html/picture_page.h"
#include "support/gallery_fixture.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::readFile;
using testing::writeFile;

class PicturePageTest : public testing::GalleryFixture {
protected:
    PicturePageTest() { std::filesystem::create_directories(pages()); }

    std::string pages() const { return dest() + "picpage/"; }

    std::vector<std::string> writePage(int picture, int count) {
        const OutputPolicy policy(settings.Overwrite, frontend);
        GenPicPage(pageContext(policy), picture, count, dest() + "picpage");
        return pageLines(pages() + "page" + std::to_string(picture) + ".htm");
    }
};

TEST_F(PicturePageTest, WholePageWithNavigationAtBothEnds) {
    addPictures(3);
    settings.PageNav = NavPosition::Both;
    settings.ImageProtect = true;
    settings.PageNavLinks[NavLinkKind::Index].file = program() + "button/index.gif";
    settings.PageBGColor = {true, makeColor(255, 128, 0)};
    settings.IdxPageBGColor = {true, kBlack};
    entries[1].info = "Taken <i>at dawn</i>";

    std::vector<std::string> expected = {"<html>", "<head>",
                                         "<title>My Gallery&nbsp&nbsp2&nbspof&nbsp3</title>",
                                         R"(<link rel="stylesheet" href="plain.css">)"};
    expected.insert(expected.end(), kProtectionLines.begin(), kProtectionLines.end());
    const std::vector<std::string> rest = {
        "</head>",
        "",
        "",
        "",
        R"(<body background="" bgcolor=FF8000>)",
        "",
        R"(<a href="../index.htm"><img src="../index.gif" alt="Index page" border=0></a>)"
        R"(<a href="page1.htm"><img src="../first.gif" alt="First page" border=0></a>)"
        R"(<a href="page1.htm"><img src="../prev.gif" alt="Previous page" border=0></a>)"
        R"(<a href="page3.htm"><img src="../next.gif" alt="Next page" border=0></a>)"
        R"(<a href="page3.htm"><img src="../last.gif" alt="Last page" border=0></a>)",
        "",
        R"(<table border=0 cellpadding=0 cellspacing=0 background="" bgcolor="" bordercolor="">)",
        R"(<td><a href="#"><img src="../pic/pic2.jpg" width=640 height=480 alt=""></a><br>)"
        R"(photo2.jpg<br>640 X 480Taken <i>at dawn</i></td>)",
        "",
        "</table>",
        R"(<a href="page1.htm"><img src="../first.gif" alt="First page" border=0></a> | )"
        R"(<a href="page3.htm"><img src="../last.gif" alt="Last page" border=0></a>)",
        "</body>",
        "</html>",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_THAT(writePage(2, 3), ElementsAreArray(expected));
}

TEST_F(PicturePageTest, TitleAndCellFollowTheSettings) {
    addPictures(12);
    style = {"<%title%>", "<%thumb cell begin%>",
             "<%thumb title%>|<%pic info%>|<%thumb size%>|<%thumb width%>x<%thumb height%>",
             "<%thumb cell end%>"};
    EXPECT_EQ(writePage(3, 12)[0], "My Gallery&nbsp&nbsp3&nbspof&nbsp12");
    settings.PicPageShowIndex = false;
    settings.PicPageShowTitle = false;
    settings.ThumbShowSize = false;
    settings.TopOffset = "40";
    settings.LeftOffset = "80";
    EXPECT_THAT(writePage(3, 12), ElementsAre("My Gallery", "|info 3|640 X 480|600x400", ""));
}

TEST_F(PicturePageTest, MainPictureLoadsAtOnceOnItsThumbnailsColour) {
    addPictures(3);
    thumbnailTones = {std::nullopt, makeColor(0xFE, 0x10, 0x0A)};
    style = {"<%thumb cell begin%>",
             R"(<img src="<%thumb file%>"<%thumb loading%> )"
             R"(style="--tone:<%thumb color%>">)",
             "<%thumb cell end%>"};
    EXPECT_THAT(writePage(2, 3),
                ElementsAre(R"(<img src="../pic/pic2.jpg" style="--tone:#FE100A">)", ""));
    EXPECT_THAT(writePage(3, 3), ElementsAre(R"(<img src="../pic/pic3.jpg" style="--tone:">)", ""));
}

TEST_F(PicturePageTest, WayBackLeadsToTheIndexPageShowingThePicture) {
    addPictures(25);
    settings.ThumbTableCol = "4";
    settings.ThumbTableRow = "3";
    settings.IdxFileName = "gallery.htm";
    style = {R"(<a href="<%pic index page%>">Back</a><%thumb srcset%><%pic alt%>)"};
    EXPECT_THAT(writePage(1, 25), ElementsAre(R"(<a href="../gallery.htm">Back</a>)"));
    EXPECT_THAT(writePage(12, 25), ElementsAre(R"(<a href="../gallery.htm">Back</a>)"));
    EXPECT_THAT(writePage(15, 25), ElementsAre(R"(<a href="../index2.htm">Back</a>)"));
    EXPECT_THAT(writePage(25, 25), ElementsAre(R"(<a href="../index3.htm">Back</a>)"));
}

TEST_F(PicturePageTest, OneCellInARowOfItsOwnAndWithoutALink) {
    addPictures(5);
    style = {"<%page number%> of <%page count%>",
             "<table>",
             "<%pic row begin%>",
             "<%thumb cell begin%>",
             R"(<td><%thumb link%><img src="<%thumb file%>"><%thumb link end%></td>)",
             "<%thumb cell end%>",
             "<%pic row end%>",
             "</table>"};
    EXPECT_THAT(writePage(4, 5),
                ElementsAre("4 of 5", "<table>", "<tr>", R"(<td><img src="../pic/pic4.jpg"></td>)",
                            "", "</tr>", "</table>"));
}

TEST_F(PicturePageTest, LargePictureTakesItsTitleAsAlternativeText) {
    addPictures(2);
    entries[1].title = R"(The "Blue" <i>Lagoon</i>)";
    settings.PicPageShowTitle = false;
    style = {"<%thumb cell begin%>",
             R"(<img src="<%thumb file%>" srcset="<%thumb srcset%>" alt="<%pic alt%>">)"
             "<%pic index page%><%thumb title%>",
             "<%thumb cell end%>"};
    EXPECT_THAT(writePage(2, 2), ElementsAre(R"(<img src="../pic/pic2.jpg" srcset="" )"
                                             R"(alt="The &quot;Blue&quot; <i>Lagoon</i>">)",
                                             ""));
}

TEST_F(PicturePageTest, BackgroundComesFromItsOwnSettingIntoThePageFolder) {
    addPictures(1);
    style = {"<%page bg pic%>|<%table bg pic%>|<%page bg color%>"};
    writeFile(scratch.folder() + "page.gif", "page paper");
    settings.PageBGPic = scratch.folder() + "page.gif";
    settings.IdxPageBGPic = scratch.folder() + "missing.gif";
    settings.ThumbTableBGPic = scratch.folder() + "page.gif";
    EXPECT_THAT(writePage(1, 1), ElementsAre(R"(PageBG.gif|""|"")"));
    EXPECT_EQ(readFile(pages() + "PageBG.gif"), "page paper");
    EXPECT_FALSE(std::filesystem::exists(pages() + "TableBG.jpg"));
}

TEST_F(PicturePageTest, AskNamesThePageInItsFolder) {
    addPictures(4);
    writeFile(pages() + "page4.htm", "old");
    settings.Overwrite = OverwriteMode::Ask;
    frontend.answerNext(false);
    const OutputPolicy policy(settings.Overwrite, frontend);
    GenPicPage(pageContext(policy), 4, 4, dest() + "picpage");
    GenPicPage(pageContext(policy), 3, 4, dest() + "picpage");
    EXPECT_THAT(frontend.questions,
                ElementsAre("Overwrite existing file: " + pages() + "page4.htm"));
    EXPECT_EQ(readFile(pages() + "page4.htm"), "old");
    EXPECT_TRUE(std::filesystem::exists(pages() + "page3.htm"));
}

} // namespace
} // namespace vellumar
