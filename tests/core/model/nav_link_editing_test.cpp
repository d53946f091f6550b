#include <gtest/gtest.h>

#include "model/nav_link_editing.h"

namespace vellumar {
namespace {

const StyleLinkImages kStyleImages = {"/b/h.gif", "/b/i.gif", "/b/f.gif",
                                      "/b/p.gif", "/b/n.gif", "/b/l.gif"};

// Home and Index off as a style leaves them, the other four on with the user's own texts.
NavLinkSet styledSet() {
    NavLinkSet set;
    set[NavLinkKind::Home] = {"not selected", "Home page"};
    set[NavLinkKind::Index] = {"not selected", "Index page"};
    set[NavLinkKind::First] = {"/mine/first.png", "Start"};
    set[NavLinkKind::Previous] = {"/mine/prev.png", "Back"};
    set[NavLinkKind::Next] = {"/mine/next.png", "On"};
    set[NavLinkKind::Last] = {"/mine/last.png", "End"};
    set.homeUrl = "http://example.org/";
    set.homeTarget = "_parent";
    return set;
}

TEST(NavLinkEditingTest, OnLinksAreCopiedAndOffLinksOfferTheStyleDefaults) {
    NavLinkSet set = styledSet();
    set[NavLinkKind::Home].text = "My old label";
    const NavLinkWorkingCopy working =
        makeWorkingCopy(set, NavLinkSetKind::Page, kStyleImages, std::nullopt);

    EXPECT_EQ(working.ticked, (std::array<bool, 6>{false, false, true, true, true, true}));
    EXPECT_EQ(working[NavLinkKind::Home], (TNavLink{"/b/h.gif", "Home page"}));
    EXPECT_EQ(working[NavLinkKind::Index], (TNavLink{"/b/i.gif", "Index page"}));
    EXPECT_EQ(working[NavLinkKind::Previous], set[NavLinkKind::Previous]);
    EXPECT_EQ(working.homeUrl, "http://example.org/");
    EXPECT_EQ(working.targetEntry, 2u);
}

TEST(NavLinkEditingTest, TheIndexSetNeverTicksOrWritesItsIndexLink) {
    NavLinkSet set = styledSet();
    set[NavLinkKind::Index] = {"/mine/index.png", "Up"};
    NavLinkWorkingCopy working =
        makeWorkingCopy(set, NavLinkSetKind::Index, kStyleImages, std::nullopt);
    EXPECT_FALSE(working.ticked[static_cast<std::size_t>(NavLinkKind::Index)]);
    EXPECT_EQ(working[NavLinkKind::Index], (TNavLink{"/b/i.gif", "Index page"}));

    switchOffUnticked(working);
    NavLinkSet written = set;
    writeBack(working, NavLinkSetKind::Index, written);
    EXPECT_EQ(written, set);
}

TEST(NavLinkEditingTest, TargetWordsMapToTheirEntriesAndOthersKeepTheShownOne) {
    for (std::size_t entry = 0; entry < kNavTargets.size(); ++entry) {
        EXPECT_EQ(navTargetEntry(kNavTargets[entry].word, 3), entry);
        EXPECT_EQ(navTargetWord(entry), kNavTargets[entry].word);
    }
    EXPECT_EQ(kNavTargets[0].item, "New window");
    EXPECT_EQ(kNavTargets[3].item, "Top window");
    EXPECT_EQ(navTargetEntry("", 1), 1u);
    EXPECT_EQ(navTargetEntry("_BLANK", 3), 3u);
    EXPECT_EQ(navTargetEntry("", std::nullopt), std::nullopt);
    EXPECT_EQ(navTargetWord(std::nullopt), "");
}

TEST(NavLinkEditingTest, OkSwitchesOffUntickedLinksAndWritesTheWholePageSet) {
    NavLinkSet set = styledSet();
    set.homeTarget = "";
    NavLinkWorkingCopy working = makeWorkingCopy(set, NavLinkSetKind::Page, kStyleImages, 3);
    // Home ticked without choosing an image keeps the style's image and default text.
    working.ticked[static_cast<std::size_t>(NavLinkKind::Home)] = true;
    working.ticked[static_cast<std::size_t>(NavLinkKind::Next)] = false;
    working[NavLinkKind::Last].text = "The end";
    working.homeUrl = "../home.htm";
    switchOffUnticked(working);
    writeBack(working, NavLinkSetKind::Page, set);

    EXPECT_EQ(set[NavLinkKind::Home], (TNavLink{"/b/h.gif", "Home page"}));
    EXPECT_EQ(set[NavLinkKind::Index], (TNavLink{"not selected", "Index page"}));
    EXPECT_EQ(set[NavLinkKind::First], (TNavLink{"/mine/first.png", "Start"}));
    EXPECT_EQ(set[NavLinkKind::Next], (TNavLink{"not selected", "On"}));
    EXPECT_EQ(set[NavLinkKind::Last], (TNavLink{"/mine/last.png", "The end"}));
    EXPECT_EQ(set.homeUrl, "../home.htm");
    EXPECT_EQ(set.homeTarget, "_top"); // the entry shown before
}

} // namespace
} // namespace vellumar
