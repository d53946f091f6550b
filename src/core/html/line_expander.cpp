#include "line_expander.h"

#include "html/nav_links.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

constexpr std::string_view kOpen = "<%";
constexpr std::string_view kClose = "%>";
constexpr std::string_view kCellBegin = "thumb cell begin";
constexpr std::string_view kCellEndLine = "<%thumb cell end%>";

bool hasMarker(std::string_view text) {
    return text.find(kOpen) != std::string_view::npos ||
           text.find(kClose) != std::string_view::npos;
}

// The lines after begin up to the end-marker line; begin is moved onto the end-marker line
// so that it is consumed.
TemplateLines takeCellSection(const TemplateLines& lines, std::size_t& begin) {
    for (std::size_t end = begin + 1; end < lines.size(); ++end) {
        if (trimBlanksAndControls(lines[end]) == kCellEndLine) {
            TemplateLines section(lines.begin() + static_cast<std::ptrdiff_t>(begin) + 1,
                                  lines.begin() + static_cast<std::ptrdiff_t>(end));
            begin = end;
            return section;
        }
    }
    throw ProjectError("The style template has a thumbnail cell section without its "
                       "\"<%thumb cell end%>\" line.");
}

bool opensTop(NavPosition position) {
    return position == NavPosition::Top || position == NavPosition::Both;
}
bool opensBottom(NavPosition position) {
    return position == NavPosition::Bottom || position == NavPosition::Both;
}

// A navigation bar is a region whose markup is worth having only while the region is open:
// closed, its lines are left out of the page, so no empty bar is written.
constexpr std::string_view kTopBar = "top nav bar";
constexpr std::string_view kTopBarEnd = "top nav bar end";
constexpr std::string_view kBottomBar = "bottom nav bar";
constexpr std::string_view kBottomBarEnd = "bottom nav bar end";

} // namespace

const std::array<std::string_view, 5> kProtectionLines = {
    R"(<script language="JavaScript"><!--if (window.Event) document.captureEvents(Event.MOUSEUP);)",
    R"(function nocontextmenu(){event.cancelBubble = true; event.returnValue = false; return false;})",
    R"(function norightclick(e){if (window.Event){if (e.which == 2 || e.which == 3) return false;} )",
    R"(else if (event.button == 2 || event.button == 3){event.cancelBubble = true; event.returnValue = false; return false;}})",
    R"(document.oncontextmenu = nocontextmenu; document.onmousedown = norightclick; //--> </script>)",
};

std::string expandLine(std::string_view line, const TokenReplacer& replace) {
    std::string out;
    std::string_view rest = line;
    for (;;) {
        const std::size_t open = rest.find(kOpen);
        const std::size_t close =
            open == std::string_view::npos ? open : rest.find(kClose, open + kOpen.size());
        if (close == std::string_view::npos) {
            if (!hasMarker(rest)) {
                out += rest;
            }
            return out;
        }
        out += rest.substr(0, open);
        out += replace(rest.substr(open + kOpen.size(), close - open - kOpen.size()));
        rest = rest.substr(close + kClose.size());
    }
}

void appendExpandedCells(const TemplateLines& cellSection, const TokenReplacer& cellToken,
                         TemplateLines& output) {
    for (const std::string& line : cellSection) {
        output.push_back(expandLine(line, cellToken));
    }
}

TemplateLines expandTemplate(const TemplateLines& lines, PageTokenHandler& handler) {
    TemplateLines output;
    bool topOpen = false;
    bool bottomOpen = false;
    // The end token of the closed bar whose lines are being left out.
    std::string_view leavingOutUntil;
    const NavPosition position = handler.navPosition();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!leavingOutUntil.empty()) {
            expandLine(line, [&](std::string_view name) {
                if (name == leavingOutUntil) {
                    leavingOutUntil = {};
                }
                return std::string();
            });
            continue;
        }
        if (!hasMarker(line)) {
            if (handler.protectsPage() && (line == "</HEAD>" || line == "</head>")) {
                output.insert(output.end(), kProtectionLines.begin(), kProtectionLines.end());
            }
            output.push_back(line);
            continue;
        }
        bool leftOut = false;
        const TokenReplacer pageToken = [&](std::string_view name) -> std::string {
            if (!leavingOutUntil.empty()) {
                // A bar closed on this line takes the rest of the line with it.
                if (name == leavingOutUntil) {
                    leavingOutUntil = {};
                }
            } else if (name == "top nav link" || name == kTopBar) {
                topOpen = opensTop(position);
                if (!topOpen && name == kTopBar) {
                    leavingOutUntil = kTopBarEnd;
                    leftOut = true;
                }
            } else if (name == "top nav link end" || name == kTopBarEnd) {
                topOpen = false;
            } else if (name == "bottom nav link" || name == kBottomBar) {
                bottomOpen = opensBottom(position);
                if (!bottomOpen && name == kBottomBar) {
                    leavingOutUntil = kBottomBarEnd;
                    leftOut = true;
                }
            } else if (name == "bottom nav link end" || name == kBottomBarEnd) {
                bottomOpen = false;
            } else if (name == kCellBegin) {
                // The cells come out before the rest of this line.
                handler.appendCells(takeCellSection(lines, i), output);
            } else if (!isNavToken(name) || topOpen || bottomOpen) {
                return handler.pageToken(name);
            }
            return {};
        };
        std::string expanded = expandLine(line, pageToken);
        if (!leftOut) {
            output.push_back(std::move(expanded));
        }
    }
    return output;
}

} // namespace vellumar
