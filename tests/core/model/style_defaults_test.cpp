#include <gtest/gtest.h>

#include "model/style_defaults.h"
#include "project_error.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

const std::string kFolder = "/usr/share/vellumar/";

struct StyleDefaultsTest : ::testing::Test {
    void apply(const std::vector<std::string>& lines) {
        applyStyleDefaults("classic", lines, kFolder, settings, images);
    }
    GallerySettings settings;
    StyleLinkImages images;
};

TEST_F(StyleDefaultsTest, AppliesEveryKeyOfTheSection) {
    apply({"<html>", "<%default begin%>", "<%page bg pic=paper.jpg%>", "<%page bg color=FF0000%>",
           "<%home pic=h.gif%>", "<%index pic=i.gif%>", "<%first pic=b1.gif%>",
           "<%prev pic=b2.gif%>", "<%next pic=b3.gif%>", "<%last pic=b4.gif%>",
           "<%table border=2%>", "<%table cell=7%>", "<%table space=9%>",
           "<%top border offset=-4%>", "<%left border offset=6%>", "<%default end%>"});

    EXPECT_EQ(settings.IdxPageBGPic, kFolder + "background/paper.jpg");
    EXPECT_EQ(settings.PageBGPic, kFolder + "background/paper.jpg");
    EXPECT_TRUE(settings.IdxPageBGColor.on);
    EXPECT_TRUE(settings.PageBGColor.on);
    EXPECT_EQ(settings.IdxPageBGColor.value, 255u);
    EXPECT_EQ(settings.PageBGColor.value, 255u);
    EXPECT_EQ(settings.ThumbTableBorderWidth, "2");
    EXPECT_EQ(settings.ThumbTableCellPad, "7");
    EXPECT_EQ(settings.ThumbTableCellSpace, "9");
    EXPECT_EQ(settings.TopOffset, "-4");
    EXPECT_EQ(settings.LeftOffset, "6");

    // Home and Index are switched off but remember the style's image.
    EXPECT_EQ(settings.IdxNav[NavLinkKind::Home], (TNavLink{"not selected", "Home page"}));
    EXPECT_EQ(settings.PageNavLinks[NavLinkKind::Home], (TNavLink{"not selected", "Home page"}));
    EXPECT_EQ(settings.PageNavLinks[NavLinkKind::Index], (TNavLink{"not selected", "Index page"}));
    EXPECT_EQ(images[size_t(NavLinkKind::Home)], kFolder + "button/h.gif");
    EXPECT_EQ(images[size_t(NavLinkKind::Index)], kFolder + "button/i.gif");

    const TNavLink first{kFolder + "button/b1.gif", "First page"};
    EXPECT_EQ(settings.IdxNav[NavLinkKind::First], first);
    EXPECT_EQ(settings.PageNavLinks[NavLinkKind::First], first);
    EXPECT_EQ(settings.PageNavLinks[NavLinkKind::Previous],
              (TNavLink{kFolder + "button/b2.gif", "Previous page"}));
    EXPECT_EQ(settings.IdxNav[NavLinkKind::Next],
              (TNavLink{kFolder + "button/b3.gif", "Next page"}));
    EXPECT_EQ(settings.IdxNav[NavLinkKind::Last],
              (TNavLink{kFolder + "button/b4.gif", "Last page"}));
    EXPECT_EQ(images[size_t(NavLinkKind::Last)], kFolder + "button/b4.gif");
}

TEST_F(StyleDefaultsTest, EmptyValuesClearBackgroundPictureAndColour) {
    settings.IdxPageBGPic = settings.PageBGPic = "old.jpg";
    settings.IdxPageBGColor = settings.PageBGColor = {true, 123};
    apply({"<%default begin%>", "<%page bg pic=%>", "<%page bg color=%>", "<%default end%>"});
    EXPECT_EQ(settings.IdxPageBGPic, "");
    EXPECT_EQ(settings.PageBGPic, "");
    EXPECT_FALSE(settings.IdxPageBGColor.on);
    EXPECT_FALSE(settings.PageBGColor.on);
    EXPECT_EQ(settings.IdxPageBGColor.value, 123u); // kept for a later tick
}

TEST_F(StyleDefaultsTest, OnlyTheFirstSectionBetweenExactMarkersCounts) {
    const GallerySettings before = settings;
    apply({"<%table border=3%>", " <%default begin%>", "<%table border=4%>"});
    EXPECT_EQ(settings, before);

    apply({"<%default begin%>", "<%table border=3%>", " <%default end%>", "<%table cell=8%>",
           "<%default end%>", "<%default begin%>", "<%table space=1%>"});
    EXPECT_EQ(settings.ThumbTableBorderWidth, "3");
    EXPECT_EQ(settings.ThumbTableCellPad, "8"); // the indented end marker does not end it
    EXPECT_EQ(settings.ThumbTableCellSpace, "5");
}

TEST_F(StyleDefaultsTest, KeysAreExactAndUnknownOnesIgnored) {
    apply({"<%default begin%>", "<%Table border=3%>", "<% table border=3%>", "<%table border =3%>",
           "<%colour=1%>", "no markers at all", "<%table cell=6%>", "<%default end%>"});
    EXPECT_EQ(settings.ThumbTableBorderWidth, "0");
    EXPECT_EQ(settings.ThumbTableCellPad, "6");
}

TEST_F(StyleDefaultsTest, SectionWithoutEndRunsToTheLastLine) {
    apply({"<%default begin%>", "<%table border=1%>", "<%table space=2%>"});
    EXPECT_EQ(settings.ThumbTableBorderWidth, "1");
    EXPECT_EQ(settings.ThumbTableCellSpace, "2");
}

TEST_F(StyleDefaultsTest, BadIntegerStopsAtItsLineKeepingEarlierEntries) {
    try {
        apply({"<%default begin%>", "<%table cell=6%>", "<%table border=x%>", "<%table space=1%>"});
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(settings.ThumbTableCellPad, "6");
    EXPECT_EQ(settings.ThumbTableCellSpace, "5");
}

TEST_F(StyleDefaultsTest, BadColourNamesThePairAndChangesNoFlag) {
    try {
        apply({"<%default begin%>", "<%page bg color=12GG00%>"});
        FAIL();
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "'$GG' is not a valid integer value");
    }
    EXPECT_FALSE(settings.IdxPageBGColor.on);
}

TEST_F(StyleDefaultsTest, LinkSettingsOutsideTheSectionStayAlone) {
    settings.IdxNav.homeUrl = "https://example.org/";
    settings.IdxNav.homeTarget = "_blank";
    apply({"<%default begin%>", "<%home pic=h.gif%>", "<%default end%>"});
    EXPECT_EQ(settings.IdxNav.homeUrl, "https://example.org/");
    EXPECT_EQ(settings.IdxNav.homeTarget, "_blank");
    EXPECT_EQ(settings.IdxNav[NavLinkKind::First], TNavLink{});
}

TEST_F(StyleDefaultsTest, FilesOutsideTheStyleFoldersAreRefusedAndNothingIsApplied) {
    const GallerySettings before = settings;
    const auto refusal = [&](const std::string& entry) {
        try {
            apply({"<%default begin%>", "<%table border=7%>", entry, "<%default end%>"});
        } catch (const ProjectError& error) {
            return std::string(error.what());
        }
        return std::string("applied");
    };
    EXPECT_EQ(refusal("<%first pic=../../../../../../../etc/passwd%>"),
              "The style classic names the button image ../../../../../../../etc/passwd, which "
              "is not inside " +
                  kFolder + "button/.");
    EXPECT_EQ(refusal("<%page bg pic=../../secret/bg.jpg%>"),
              "The style classic names the background picture ../../secret/bg.jpg, which is not "
              "inside " +
                  kFolder + "background/.");
    for (const char* entry :
         {"<%index pic=sub/../../x.gif%>", "<%last pic=%>", "<%next pic=..%>"}) {
        EXPECT_NE(refusal(entry), "applied") << entry;
    }
    EXPECT_EQ(settings, before);
    EXPECT_EQ(images, StyleLinkImages{});
    EXPECT_EQ(refusal("<%prev pic=set/b2.gif%>"), "applied");
}

TEST_F(StyleDefaultsTest, LinksAreFollowedBeforeTheFolderIsJudged) {
    testing::ScratchFolder scratch;
    const std::string program = scratch.folder() + "program/";
    testing::writeFile(program + "button/b1.gif", "button");
    testing::writeFile(scratch.folder() + "secret.jpg", "secret");
    std::filesystem::create_directories(program + "background");
    std::filesystem::create_symlink(scratch.folder() + "secret.jpg", program + "background/bg.jpg");
    std::filesystem::create_symlink(program + "button/b1.gif", program + "button/alias.gif");
    try {
        applyStyleDefaults("classic", {"<%default begin%>", "<%page bg pic=bg.jpg%>"}, program,
                           settings, images);
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The style classic names the background picture bg.jpg, which is not inside " +
                      program + "background/.");
    }
    applyStyleDefaults("classic", {"<%default begin%>", "<%first pic=alias.gif%>"}, program,
                       settings, images);
    EXPECT_EQ(settings.IdxNav[NavLinkKind::First].file, program + "button/alias.gif");
}

} // namespace
} // namespace vellumar
