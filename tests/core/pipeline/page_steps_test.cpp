#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/resource_copy.h"
#include "model/gallery_file_names.h"
#include "model/output_folders.h"
#include "pipeline/build_driver.h"
#include "pipeline/page_steps.h"
#include "progress_percent.h"
#include "project_error.h"
#include "support/gallery_fixture.h"
#include "support/link_check.h"
#include "support/scoped_home.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::readFile;
using testing::writeFile;

class HtmlBuildTest : public testing::GalleryFixture {
protected:
    HtmlBuildTest() { installPlainStyle(); }

    // The page step as a gallery build runs it, after the same checks.
    void build(const std::string& projectFile = {}) {
        const BuildPlan plan = galleryPlan(settings, entries.size(), program(), {1});
        const OutputPolicy policy = outputPolicyOf(plan, settings, program(),
                                                   projectOwnFiles(entries, projectFile), frontend);
        policy.checkFoldersMayBePrepared(plan.folders);
        if (!buildGalleryPages(plan, {settings, entries, program(), policy, toJpeg()}, frontend)) {
            return;
        }
        // As a whole build ends, with the pictures its picture step wrote among its files.
        for (std::size_t n = 1; n <= entries.size(); ++n) {
            policy.checkNotProtected(plan.folders.thumbs + thumbnailFileName(settings, n));
            policy.checkNotProtected(plan.folders.pictures + largePictureFileName(n));
        }
        policy.removeLeftovers(plan.folders);
    }

    // Checks that the build fails with a ProjectError holding `text` and leaves no folder.
    void expectRefusedUntouched(const std::string& text) {
        try {
            build();
            FAIL() << "expected the build to be refused";
        } catch (const ProjectError& error) {
            EXPECT_THAT(error.what(), HasSubstr(text));
        }
        EXPECT_FALSE(fs::exists(dest()));
    }

    void switchEveryLinkOn() {
        settings.IdxNav[NavLinkKind::Home].file = program() + "button/home.gif";
        settings.IdxNav.homeUrl = "http://example.org/";
        settings.PageNavLinks[NavLinkKind::Home].file = program() + "button/home.gif";
        settings.PageNavLinks.homeUrl = "https://example.org/start";
        settings.PageNavLinks[NavLinkKind::Index].file = program() + "button/index.gif";
        settings.IdxNavLink = NavPosition::Both;
        settings.PageNav = NavPosition::Both;
    }
};

TEST(ProgressPercent, RoundsHalvesToEven) {
    EXPECT_EQ(progressPercent(1, 3), 33);
    EXPECT_EQ(progressPercent(2, 3), 67);
    EXPECT_EQ(progressPercent(1, 8), 12);
    EXPECT_EQ(progressPercent(3, 8), 38);
    EXPECT_EQ(progressPercent(5, 8), 62);
    EXPECT_EQ(progressPercent(8, 8), 100);
    EXPECT_EQ(progressPercent(0, 0), 0);
}

TEST_F(HtmlBuildTest, FullGalleryHasNoBrokenLinks) {
    addPictures(25);
    switchEveryLinkOn();
    settings.ThumbProtect = true;
    writeFile(scratch.folder() + "bg/paper.gif", "paper");
    writeFile(scratch.folder() + "bg/linen.jpg", "linen");
    writeFile(scratch.folder() + "bg/cloth.bmp", "cloth");
    settings.IdxPageBGPic = scratch.folder() + "bg/paper.gif";
    settings.PageBGPic = scratch.folder() + "bg/linen.jpg";
    settings.ThumbTableBGPic = scratch.folder() + "bg/cloth.bmp";
    writeBuiltPictures();

    build();

    for (const char* file :
         {"index.htm", "index2.htm", "index3.htm", "plain.css", "PageBG.gif", "TableBG.jpg",
          "home.gif", "index.gif", "first.gif", "prev.gif", "next.gif", "last.gif",
          "picpage/page1.htm", "picpage/page25.htm", "picpage/plain.css", "picpage/PageBG.jpg"}) {
        EXPECT_TRUE(fs::is_regular_file(dest() + file)) << file;
    }
    EXPECT_FALSE(fs::exists(dest() + "index4.htm"));
    EXPECT_FALSE(fs::exists(dest() + "picpage/page26.htm"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
    EXPECT_EQ(pageLines(dest() + "index3.htm")[0], "<html>");
}

TEST_F(HtmlBuildTest, LinkCheckNamesAMissingTarget) {
    addPictures(2);
    writeBuiltPictures();
    build();
    fs::remove(dest() + "pic/pic2.jpg");
    fs::remove(dest() + "plain.css");
    EXPECT_THAT(testing::brokenGalleryLinks(dest()),
                ::testing::UnorderedElementsAre("index.htm: plain.css",
                                                "picpage/page2.htm: ../pic/pic2.jpg"));
}

TEST_F(HtmlBuildTest, ReportsEveryPageAndEndsFinished) {
    addPictures(25);
    settings.ThumbTableCol = "4";
    settings.ThumbTableRow = "3";
    build();
    ASSERT_EQ(frontend.statuses.size(), 3u + 25u + 1u);
    EXPECT_EQ(frontend.statuses[0], "Generating thumbnail HTML file index1.htm");
    EXPECT_EQ(frontend.statuses[2], "Generating thumbnail HTML file index3.htm");
    EXPECT_EQ(frontend.statuses[3], "Generating picture page file page1.htm");
    EXPECT_EQ(frontend.statuses[27], "Generating picture page file page25.htm");
    EXPECT_EQ(frontend.statuses.back(), "Finished");
    ASSERT_EQ(frontend.progressValues.size(), 3u + 25u + 1u);
    EXPECT_THAT(
        std::vector<int>(frontend.progressValues.begin(), frontend.progressValues.begin() + 3),
        ElementsAre(33, 67, 100));
    EXPECT_EQ(frontend.progressValues[3], 4);
    EXPECT_EQ(frontend.progressValues.back(), 0);
    EXPECT_EQ(frontend.eventPumps, 2 * (3 + 25));
    // Pictures 1-12, 13-24 and 25: the last page holds one open row.
    const std::vector<std::string> last = pageLines(dest() + "index3.htm");
    EXPECT_EQ(std::count(last.begin(), last.end(), "<tr>"), 1);
    EXPECT_EQ(std::count(last.begin(), last.end(), "</tr>"), 0);
}

TEST_F(HtmlBuildTest, AnEmptyGalleryHasOneIndexPageWithAnEmptyTable) {
    build();
    EXPECT_TRUE(fs::is_directory(dest() + "picpage"));
    EXPECT_TRUE(fs::is_regular_file(dest() + "plain.css"));
    EXPECT_TRUE(fs::is_regular_file(dest() + "picpage/plain.css"));
    EXPECT_TRUE(fs::is_regular_file(dest() + "next.gif"));
    const std::vector<std::string> index = pageLines(dest() + "index.htm");
    EXPECT_EQ(std::count(index.begin(), index.end(), "<tr>"), 0);
    EXPECT_FALSE(fs::exists(dest() + "index2.htm"));
    EXPECT_FALSE(fs::exists(dest() + "picpage/page1.htm"));
    EXPECT_THAT(frontend.statuses,
                ElementsAre("Generating thumbnail HTML file index1.htm", "Finished"));
    EXPECT_THAT(frontend.progressValues, ElementsAre(100, 0));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
}

TEST_F(HtmlBuildTest, ThumbnailLinksFollowThePictureFolderName) {
    addPictures(3);
    settings.PageSub = {true, "pages"};
    writeBuiltPictures();
    build();
    EXPECT_THAT(readFile(dest() + "index.htm"), HasSubstr(R"(<a href="pages/page2.htm">)"));
    EXPECT_FALSE(fs::exists(dest() + "picpage"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());

    // Two levels down, the pages climb two levels back.
    settings.PageSub.name = "views/large";
    fs::create_directory(dest() + "views");
    build();
    EXPECT_THAT(readFile(dest() + "views/large/page1.htm"), HasSubstr("../../pic/pic1.jpg"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
}

TEST_F(HtmlBuildTest, PagesBesideTheIndexSurviveAlwaysOverwrite) {
    addPictures(2);
    settings.PageSub.name = "";
    writeBuiltPictures();
    build();
    EXPECT_TRUE(fs::exists(dest() + "index.htm"));
    EXPECT_TRUE(fs::exists(dest() + "page2.htm"));
    EXPECT_THAT(readFile(dest() + "page1.htm"), HasSubstr(R"(<a href="index.htm">)"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
}

TEST_F(HtmlBuildTest, PagesInTheThumbnailFolderLeaveTheThumbnailsAlone) {
    addPictures(2);
    settings.PageSub.name = "thumb";
    writeBuiltPictures();
    build();
    EXPECT_TRUE(fs::exists(dest() + "thumb/tn_2.jpg"));
    EXPECT_TRUE(fs::exists(dest() + "thumb/page2.htm"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
}

TEST_F(HtmlBuildTest, AButtonAlreadyInTheGalleryIsKept) {
    settings.Overwrite = OverwriteMode::AddOnly;
    writeFile(dest() + "mine.gif", "my button");
    settings.IdxNav[NavLinkKind::Next].file = dest() + "mine.gif";
    settings.PageNavLinks[NavLinkKind::Next].file = dest() + "mine.gif";
    build();
    EXPECT_EQ(readFile(dest() + "mine.gif"), "my button");
}

TEST_F(HtmlBuildTest, AThumbnailLinkToThePictureResolves) {
    addPictures(2);
    settings.ThumbLink = ThumbLinkTarget::Picture;
    writeBuiltPictures();
    build();
    EXPECT_THAT(readFile(dest() + "index.htm"), HasSubstr(R"(<a href="pic/pic2.jpg">)"));
    EXPECT_THAT(testing::brokenGalleryLinks(dest()), IsEmpty());
}

TEST_F(HtmlBuildTest, AlwaysOverwriteClearsOldPagesButKeepsTheUsersFiles) {
    addPictures(2);
    writeBuiltPictures();
    writeFile(dest() + "notes.txt", "stray");
    writeFile(dest() + "album.vlm", "project");
    writeFile(dest() + "index2.htm", "page of a larger gallery");
    writeFile(dest() + "picpage/page7.htm", "page of a larger gallery");
    writeFile(dest() + "picpage/notes.txt", "mine");
    entries[1].file = dest() + "own-photo.jpg";
    writeFile(entries[1].file, "original");
    build(dest() + "album.vlm");
    EXPECT_FALSE(fs::exists(dest() + "index2.htm"));
    EXPECT_FALSE(fs::exists(dest() + "picpage/page7.htm"));
    EXPECT_EQ(readFile(dest() + "notes.txt"), "stray");
    EXPECT_EQ(readFile(dest() + "picpage/notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(dest() + "thumb/tn_1.jpg"));
    EXPECT_EQ(readFile(dest() + "album.vlm"), "project");
    EXPECT_EQ(readFile(entries[1].file), "original");
}

TEST_F(HtmlBuildTest, LinksInTheGalleryAreReplacedNotWrittenThrough) {
    addPictures(1);
    writeBuiltPictures();
    const std::string outside = scratch.folder() + "outside/";
    for (const char* file : {"index.htm", "page1.htm", "plain.css", "next.gif"}) {
        writeFile(outside + file, "outside");
    }
    fs::create_directories(dest() + "picpage");
    fs::create_symlink(outside + "index.htm", dest() + "index.htm");
    fs::create_symlink(outside + "page1.htm", dest() + "picpage/page1.htm");
    fs::create_symlink(outside + "plain.css", dest() + "plain.css");
    fs::create_symlink(outside + "next.gif", dest() + "next.gif");
    settings.Overwrite = OverwriteMode::Ask;
    frontend.answerNext(true); // index.htm
    frontend.answerNext(true); // picpage/page1.htm
    build();
    EXPECT_TRUE(frontend.allAnswersUsed());
    for (const char* file : {"index.htm", "page1.htm", "plain.css", "next.gif"}) {
        EXPECT_EQ(readFile(outside + file), "outside") << file;
    }
    for (const char* file : {"index.htm", "picpage/page1.htm", "plain.css", "next.gif"}) {
        EXPECT_FALSE(fs::is_symlink(dest() + file)) << file;
    }
    EXPECT_EQ(readFile(dest() + "plain.css"), "body {}");
    EXPECT_THAT(readFile(dest() + "index.htm"), HasSubstr("picpage/page1.htm"));
}

TEST_F(HtmlBuildTest, TheNextBuildRemovesTheTemporaryFilesOfAKilledOne) {
    addPictures(1);
    writeBuiltPictures();
    settings.Overwrite = OverwriteMode::AddOnly;
    // What a build killed while writing leaves: the complete old page and a part of the new.
    writeFile(dest() + "index.htm", "old complete page");
    const pid_t killed = ::fork();
    if (killed == 0) {
        ::_exit(0);
    }
    ::waitpid(killed, nullptr, 0);
    const std::string part = ".index.htm." + std::to_string(killed) + "-0.tmp";
    writeFile(dest() + part, "<html>");
    writeFile(dest() + "picpage/" + part, "<html>");
    build();
    EXPECT_FALSE(fs::exists(dest() + part));
    EXPECT_FALSE(fs::exists(dest() + "picpage/" + part));
    EXPECT_EQ(readFile(dest() + "index.htm"), "old complete page");
}

TEST_F(HtmlBuildTest, KeepsOldPagesUnlessOverwriting) {
    addPictures(1);
    writeFile(dest() + "index.htm", "old");
    writeFile(dest() + "notes.txt", "kept");
    settings.Overwrite = OverwriteMode::AddOnly;
    build();
    EXPECT_EQ(readFile(dest() + "index.htm"), "old");
    EXPECT_TRUE(fs::exists(dest() + "notes.txt"));
    EXPECT_TRUE(fs::exists(dest() + "picpage/page1.htm"));
}

TEST_F(HtmlBuildTest, CopiesNoButtonWhenEveryLinkIsOff) {
    for (NavLinkSet* set : {&settings.IdxNav, &settings.PageNavLinks}) {
        for (TNavLink& link : set->links) {
            link.file = std::string(kNotSelected);
        }
    }
    build();
    for (const char* button : {"first.gif", "prev.gif", "next.gif", "last.gif"}) {
        EXPECT_FALSE(fs::exists(dest() + button)) << button;
    }
}

TEST_F(HtmlBuildTest, AMissingButtonStopsTheBuildAfterTheIndexPages) {
    addPictures(1);
    settings.IdxNav[NavLinkKind::Next].file = program() + "button/gone.gif";
    EXPECT_THROW(build(), ProjectError);
    EXPECT_TRUE(fs::exists(dest() + "index.htm"));
    EXPECT_FALSE(fs::exists(dest() + "picpage"));
    EXPECT_EQ(frontend.statuses.back(), "Generating thumbnail HTML file index1.htm");
}

TEST_F(HtmlBuildTest, RefusesBadTableSizesBeforeTouchingAnyFolder) {
    addPictures(1);
    settings.ThumbTableCol = "0";
    expectRefusedUntouched("at least one column and one row");
    settings.ThumbTableCol = "4";
    settings.ThumbTableRow = "-3";
    expectRefusedUntouched("at least one column and one row");
    settings.ThumbTableRow = "three";
    expectRefusedUntouched("'three' is not a valid integer value");
}

TEST_F(HtmlBuildTest, RefusesAMissingDestinationStyleOrAPageFolderOutsideTheGallery) {
    settings.DestFolder = "   ";
    try {
        build();
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "Please enter destination folder in Settings first!");
    }
    settings.DestFolder = dest();
    settings.Style = "";
    expectRefusedUntouched("No style is chosen");
    settings.Style = "gone";
    expectRefusedUntouched("template/gone.htm");
    settings.Style = "plain";
    settings.PageSub.name = "../elsewhere";
    expectRefusedUntouched("must be a folder name inside the destination folder");
    settings.PageSub.name = "/tmp/elsewhere";
    expectRefusedUntouched("must be a folder name inside the destination folder");
}

TEST_F(HtmlBuildTest, AlwaysOverwriteRefusesTheHomeFolder) {
    const std::string home = scratch.folder() + "home";
    writeFile(home + "/letter.txt", "keep me");
    const testing::ScopedHome scopedHome(home);
    settings.DestFolder = home;
    EXPECT_THROW(build(), ProjectError);
    EXPECT_EQ(readFile(home + "/letter.txt"), "keep me");
    EXPECT_FALSE(fs::exists(home + "/index.htm"));
}

} // namespace
} // namespace vellumar
