#include "nav_link_editing.h"

namespace vellumar {

bool setHasKind(NavLinkSetKind set, NavLinkKind kind) {
    return set == NavLinkSetKind::Page || kind != NavLinkKind::Index;
}

std::optional<std::size_t> navTargetEntry(std::string_view target,
                                          std::optional<std::size_t> shownBefore) {
    for (std::size_t entry = 0; entry < kNavTargets.size(); ++entry) {
        if (kNavTargets[entry].word == target) {
            return entry;
        }
    }
    return shownBefore;
}

std::string_view navTargetWord(std::optional<std::size_t> entry) {
    return entry && *entry < kNavTargets.size() ? kNavTargets[*entry].word : std::string_view{};
}

NavLinkWorkingCopy makeWorkingCopy(const NavLinkSet& set, NavLinkSetKind kind,
                                   const StyleLinkImages& styleImages,
                                   std::optional<std::size_t> targetShownBefore) {
    NavLinkWorkingCopy working;
    for (std::size_t i = 0; i < kNavLinkKindCount; ++i) {
        const auto linkKind = static_cast<NavLinkKind>(i);
        const TNavLink& link = set.links[i];
        working.ticked[i] = setHasKind(kind, linkKind) && link.isOn();
        working.links[i] =
            working.ticked[i] ? link
                              : TNavLink{styleImages[i], std::string(defaultNavLinkText(linkKind))};
    }
    working.homeUrl = set.homeUrl;
    working.targetEntry = navTargetEntry(set.homeTarget, targetShownBefore);
    return working;
}

void switchOffUnticked(NavLinkWorkingCopy& working) {
    for (std::size_t i = 0; i < kNavLinkKindCount; ++i) {
        if (!working.ticked[i]) {
            working.links[i].file = kNotSelected;
        }
    }
}

void writeBack(const NavLinkWorkingCopy& working, NavLinkSetKind kind, NavLinkSet& set) {
    for (std::size_t i = 0; i < kNavLinkKindCount; ++i) {
        if (setHasKind(kind, static_cast<NavLinkKind>(i))) {
            set.links[i] = working.links[i];
        }
    }
    set.homeUrl = working.homeUrl;
    set.homeTarget = navTargetWord(working.targetEntry);
}

} // namespace vellumar
