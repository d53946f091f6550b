#include "nav_links.h"

#include <array>
#include <utility>

#include "file_io.h"
#include "model/gallery_file_names.h"

namespace vellumar {

namespace {

constexpr std::array<std::pair<std::string_view, NavLinkKind>, kNavLinkKindCount> kNavTokens = {{
    {"nav home", NavLinkKind::Home},
    {"nav index", NavLinkKind::Index},
    {"nav first", NavLinkKind::First},
    {"nav previous", NavLinkKind::Previous},
    {"nav next", NavLinkKind::Next},
    {"nav last", NavLinkKind::Last},
}};

std::optional<NavLinkKind> navTokenKind(std::string_view name) {
    for (const auto& [token, kind] : kNavTokens) {
        if (token == name) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace

bool isNavToken(std::string_view name) {
    return navTokenKind(name).has_value();
}

std::string navLinkHtml(const TNavLink& link, std::string_view imageBase,
                        const std::optional<std::string>& href) {
    if (!link.isOn()) {
        return {};
    }
    std::string image = "<img src=\"";
    image += imageBase;
    image += buttonFileName(link) + "\" alt=\"" + link.text + "\" border=0>";
    return href ? "<a href=\"" + *href + "\">" + image + "</a>" : image;
}

std::string indexNavHtml(std::string_view name, const GallerySettings& settings, int page,
                         int pageCount) {
    const std::optional<NavLinkKind> kind = navTokenKind(name);
    if (!kind || *kind == NavLinkKind::Index) {
        return {};
    }
    std::optional<std::string> href;
    switch (*kind) {
    case NavLinkKind::Home:
        href = settings.IdxNav.homeUrl;
        break;
    case NavLinkKind::First:
        href = settings.IdxFileName;
        break;
    case NavLinkKind::Previous:
        if (page >= 2) {
            href = indexPageFileName(settings, page - 1);
        }
        break;
    case NavLinkKind::Next:
        if (page < pageCount) {
            href = indexPageFileName(settings, page + 1);
        }
        break;
    case NavLinkKind::Last:
        href = indexPageFileName(settings, pageCount);
        break;
    case NavLinkKind::Index:
        break;
    }
    return navLinkHtml(settings.IdxNav[*kind], "", href);
}

std::string pictureNavHtml(std::string_view name, const GallerySettings& settings, int picture,
                           int pictureCount, std::string_view toRoot) {
    const std::optional<NavLinkKind> kind = navTokenKind(name);
    if (!kind) {
        return {};
    }
    std::optional<std::string> href;
    switch (*kind) {
    case NavLinkKind::Home:
        href = settings.PageNavLinks.homeUrl;
        break;
    case NavLinkKind::Index:
        href = std::string(toRoot) + settings.IdxFileName;
        break;
    case NavLinkKind::First:
        href = picturePageFileName(1);
        break;
    case NavLinkKind::Previous:
        if (picture >= 2) {
            href = picturePageFileName(picture - 1);
        }
        break;
    case NavLinkKind::Next:
        if (picture < pictureCount) {
            href = picturePageFileName(picture + 1);
        }
        break;
    case NavLinkKind::Last:
        href = picturePageFileName(pictureCount);
        break;
    }
    return navLinkHtml(settings.PageNavLinks[*kind], toRoot, href);
}

void copyNavigationButtons(const GallerySettings& settings, const std::string& folder,
                           const OutputPolicy& policy) {
    for (const TNavLink* link : copiedButtons(settings)) {
        const std::string destination = folder + buttonFileName(*link);
        policy.checkNotProtected(destination);
        copyFileReplacing(link->file, destination);
    }
}

} // namespace vellumar
