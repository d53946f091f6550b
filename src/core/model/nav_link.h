#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vellumar {

// A button image file of this value means the link is switched off.
inline constexpr std::string_view kNotSelected = "not selected";

struct TNavLink {
    std::string file{kNotSelected};
    std::string text;

    bool isOn() const { return file != kNotSelected; }
    bool operator==(const TNavLink&) const = default;
};

// The order in which the link dialog lists the kinds.
enum class NavLinkKind { Home = 0, Index = 1, First = 2, Previous = 3, Next = 4, Last = 5 };
inline constexpr std::size_t kNavLinkKindCount = 6;

// The label a link gets when a style switches it on or off.
std::string_view defaultNavLinkText(NavLinkKind kind);

// One set of navigation links: the index pages use every kind but Index, the picture pages
// all six.
struct NavLinkSet {
    std::array<TNavLink, kNavLinkKindCount> links;
    std::string homeTarget;
    std::string homeUrl;

    TNavLink& operator[](NavLinkKind kind) { return links[static_cast<std::size_t>(kind)]; }
    const TNavLink& operator[](NavLinkKind kind) const {
        return links[static_cast<std::size_t>(kind)];
    }
    bool operator==(const NavLinkSet&) const = default;
};

} // namespace vellumar
