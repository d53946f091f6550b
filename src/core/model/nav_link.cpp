#include "nav_link.h"

namespace vellumar {

std::string_view defaultNavLinkText(NavLinkKind kind) {
    switch (kind) {
    case NavLinkKind::Home:
        return "Home page";
    case NavLinkKind::Index:
        return "Index page";
    case NavLinkKind::First:
        return "First page";
    case NavLinkKind::Previous:
        return "Previous page";
    case NavLinkKind::Next:
        return "Next page";
    case NavLinkKind::Last:
        return "Last page";
    }
    return {};
}

} // namespace vellumar
