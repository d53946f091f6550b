#include <gtest/gtest.h>

#include "html/nav_links.h"

namespace vellumar {
namespace {

// Every link on, with button images in a program folder and the default labels.
GallerySettings settingsWithAllLinks() {
    GallerySettings settings;
    const char* images[] = {"home.gif", "index.gif", "first.gif",
                            "prev.gif", "next.gif",  "last.gif"};
    for (std::size_t kind = 0; kind < kNavLinkKindCount; ++kind) {
        const TNavLink link{std::string("/opt/v/button/") + images[kind],
                            std::string(defaultNavLinkText(NavLinkKind(kind)))};
        settings.IdxNav.links[kind] = link;
        settings.PageNavLinks.links[kind] = link;
    }
    settings.IdxNav.homeUrl = "http://example.org/";
    settings.PageNavLinks.homeUrl = "../../home.htm";
    return settings;
}

std::string linked(const std::string& href, const std::string& image, const std::string& alt) {
    return "<a href=\"" + href + "\"><img src=\"" + image + "\" alt=\"" + alt + "\" border=0></a>";
}
std::string unlinked(const std::string& image, const std::string& alt) {
    return "<img src=\"" + image + "\" alt=\"" + alt + "\" border=0>";
}

TEST(IndexNavigation, LinksNeighbourPagesAndLosesOnlyTheImpossibleLinks) {
    const GallerySettings s = settingsWithAllLinks();
    EXPECT_EQ(indexNavHtml("nav previous", s, 1, 3), unlinked("prev.gif", "Previous page"));
    EXPECT_EQ(indexNavHtml("nav next", s, 1, 3), linked("index2.htm", "next.gif", "Next page"));
    EXPECT_EQ(indexNavHtml("nav last", s, 1, 3), linked("index3.htm", "last.gif", "Last page"));
    EXPECT_EQ(indexNavHtml("nav first", s, 1, 3), linked("index.htm", "first.gif", "First page"));
    EXPECT_EQ(indexNavHtml("nav previous", s, 2, 3),
              linked("index.htm", "prev.gif", "Previous page"));
    EXPECT_EQ(indexNavHtml("nav previous", s, 3, 3),
              linked("index2.htm", "prev.gif", "Previous page"));
    EXPECT_EQ(indexNavHtml("nav next", s, 3, 3), unlinked("next.gif", "Next page"));
    EXPECT_EQ(indexNavHtml("nav home", s, 2, 3),
              linked("http://example.org/", "home.gif", "Home page"));
    EXPECT_EQ(indexNavHtml("nav index", s, 2, 3), "");
}

TEST(IndexNavigation, ASinglePageLinksItselfByItsOwnName) {
    GallerySettings s = settingsWithAllLinks();
    s.IdxFileName = "gallery.htm";
    EXPECT_EQ(indexNavHtml("nav last", s, 1, 1), linked("gallery.htm", "last.gif", "Last page"));
    EXPECT_EQ(indexNavHtml("nav first", s, 1, 1), linked("gallery.htm", "first.gif", "First page"));
    EXPECT_EQ(indexNavHtml("nav next", s, 1, 1), unlinked("next.gif", "Next page"));
    EXPECT_EQ(indexNavHtml("nav previous", s, 2, 2),
              linked("gallery.htm", "prev.gif", "Previous page"));
}

TEST(PictureNavigation, ReachesButtonsAndIndexThroughTheFolderAbove) {
    GallerySettings s = settingsWithAllLinks();
    s.PageNavLinks[NavLinkKind::Next] = {"/prog/button/next.gif", "Next page"};
    EXPECT_EQ(pictureNavHtml("nav next", s, 2, 4, "../"),
              R"(<a href="page3.htm"><img src="../next.gif" alt="Next page" border=0></a>)");
    EXPECT_EQ(pictureNavHtml("nav next", s, 5, 5, "../"), unlinked("../next.gif", "Next page"));
    EXPECT_EQ(pictureNavHtml("nav last", s, 5, 5, "../"),
              linked("page5.htm", "../last.gif", "Last page"));
    EXPECT_EQ(pictureNavHtml("nav index", s, 5, 5, "../"),
              linked("../index.htm", "../index.gif", "Index page"));
    EXPECT_EQ(pictureNavHtml("nav previous", s, 1, 5, "../"),
              unlinked("../prev.gif", "Previous page"));
    EXPECT_EQ(pictureNavHtml("nav first", s, 1, 5, "../"),
              linked("page1.htm", "../first.gif", "First page"));
    EXPECT_EQ(pictureNavHtml("nav home", s, 1, 5, "../"),
              linked("../../home.htm", "../home.gif", "Home page"));
    // A picture-page folder two levels down.
    EXPECT_EQ(pictureNavHtml("nav index", s, 1, 1, "../../"),
              linked("../../index.htm", "../../index.gif", "Index page"));
}

TEST(Navigation, ALinkThatIsOffGivesNothingOnEveryPage) {
    GallerySettings s = settingsWithAllLinks();
    s.IdxNav[NavLinkKind::Home].file = std::string(kNotSelected);
    s.PageNavLinks[NavLinkKind::Previous].file = std::string(kNotSelected);
    EXPECT_EQ(indexNavHtml("nav home", s, 1, 2), "");
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(pictureNavHtml("nav previous", s, page, 3, "../"), "");
    }
    EXPECT_EQ(indexNavHtml("nav Next", s, 1, 2), "");
}

} // namespace
} // namespace vellumar
