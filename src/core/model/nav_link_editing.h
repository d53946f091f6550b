#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/nav_link.h"
#include "model/style_defaults.h"

namespace vellumar {

// Which set the link dialog edits: the index pages have no Index link, the picture pages
// use all six kinds.
enum class NavLinkSetKind { Index, Page };

bool setHasKind(NavLinkSetKind set, NavLinkKind kind);

// The home target words and the entries that show them, in the order of the target list.
struct NavTarget {
    std::string_view word;
    std::string_view item;
};
inline constexpr std::array<NavTarget, 4> kNavTargets = {{{"_blank", "New window"},
                                                          {"_self", "Current window"},
                                                          {"_parent", "Parent window"},
                                                          {"_top", "Top window"}}};

// The entry the target list shows for a target word; a word that is none of the four
// leaves the entry that was shown before.
std::optional<std::size_t> navTargetEntry(std::string_view target,
                                          std::optional<std::size_t> shownBefore);
// The word of an entry; no entry shown means no target.
std::string_view navTargetWord(std::optional<std::size_t> entry);

// What the link dialog edits between opening and OK. Every kind has a working link, ticked
// or not, so that ticking a link that was off offers something to start from.
struct NavLinkWorkingCopy {
    std::array<TNavLink, kNavLinkKindCount> links;
    std::array<bool, kNavLinkKindCount> ticked{};
    std::string homeUrl;
    std::optional<std::size_t> targetEntry;

    TNavLink& operator[](NavLinkKind kind) { return links[static_cast<std::size_t>(kind)]; }
    const TNavLink& operator[](NavLinkKind kind) const {
        return links[static_cast<std::size_t>(kind)];
    }
};

// Links that are on are copied and ticked; links that are off, and the Index link of the
// index set, start from the style's image and the kind's default text and are unticked.
NavLinkWorkingCopy makeWorkingCopy(const NavLinkSet& set, NavLinkSetKind kind,
                                   const StyleLinkImages& styleImages,
                                   std::optional<std::size_t> targetShownBefore);

// OK: every unticked link is switched off.
void switchOffUnticked(NavLinkWorkingCopy& working);

// Writes the links of the set's kinds, the home address and the shown target into the set.
void writeBack(const NavLinkWorkingCopy& working, NavLinkSetKind kind, NavLinkSet& set);

} // namespace vellumar
