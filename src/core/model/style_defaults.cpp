#include "style_defaults.h"

#include <array>
#include <string_view>

#include "folder_containment.h"
#include "integer_text.h"
#include "project_error.h"

namespace vellumar {

namespace {

constexpr std::string_view kBeginMarker = "<%default begin%>";
constexpr std::string_view kEndMarker = "<%default end%>";

// Text strictly between two positions of the line; empty when the range is empty or runs
// backwards (also when a marker is missing).
std::string_view between(std::string_view line, std::size_t first, std::size_t last) {
    if (first == std::string_view::npos || last == std::string_view::npos || last <= first) {
        return {};
    }
    return line.substr(first, last - first);
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

Entry splitEntry(std::string_view line) {
    const std::size_t open = line.find("<%");
    const std::size_t equals = line.find('=');
    const std::size_t close = line.find("%>");
    const std::size_t keyStart = open == std::string_view::npos ? 1 : open + 2;
    const std::size_t valueStart = equals == std::string_view::npos ? 0 : equals + 1;
    return {between(line, keyStart, equals), between(line, valueStart, close)};
}

void setLinkFromStyle(GallerySettings& settings, StyleLinkImages& images, NavLinkKind kind,
                      const std::string& image) {
    images[static_cast<std::size_t>(kind)] = image;
    const std::string text{defaultNavLinkText(kind)};
    const bool switchedOn = kind != NavLinkKind::Home && kind != NavLinkKind::Index;
    const TNavLink link{switchedOn ? image : std::string(kNotSelected), text};
    if (kind != NavLinkKind::Index) {
        settings.IdxNav[kind] = link;
    }
    settings.PageNavLinks[kind] = link;
}

void applyEntry(const Entry& entry, const std::string& programFolder, GallerySettings& settings,
                StyleLinkImages& images) {
    const std::string value{entry.value};
    const std::string buttonImage = programFolder + "button/" + value;
    if (entry.key == "page bg pic") {
        const std::string path = value.empty() ? "" : programFolder + "background/" + value;
        settings.IdxPageBGPic = path;
        settings.PageBGPic = path;
    } else if (entry.key == "page bg color") {
        const bool on = !value.empty();
        if (on) {
            const Color color = HTMLColor2Color(value);
            settings.IdxPageBGColor.value = color;
            settings.PageBGColor.value = color;
        }
        settings.IdxPageBGColor.on = on;
        settings.PageBGColor.on = on;
    } else if (entry.key == "home pic") {
        setLinkFromStyle(settings, images, NavLinkKind::Home, buttonImage);
    } else if (entry.key == "first pic") {
        setLinkFromStyle(settings, images, NavLinkKind::First, buttonImage);
    } else if (entry.key == "prev pic") {
        setLinkFromStyle(settings, images, NavLinkKind::Previous, buttonImage);
    } else if (entry.key == "next pic") {
        setLinkFromStyle(settings, images, NavLinkKind::Next, buttonImage);
    } else if (entry.key == "last pic") {
        setLinkFromStyle(settings, images, NavLinkKind::Last, buttonImage);
    } else if (entry.key == "index pic") {
        setLinkFromStyle(settings, images, NavLinkKind::Index, buttonImage);
    } else if (entry.key == "table border") {
        settings.ThumbTableBorderWidth = std::to_string(toInteger(value));
    } else if (entry.key == "table cell") {
        settings.ThumbTableCellPad = std::to_string(toInteger(value));
    } else if (entry.key == "table space") {
        settings.ThumbTableCellSpace = std::to_string(toInteger(value));
    } else if (entry.key == "top border offset") {
        settings.TopOffset = std::to_string(toInteger(value));
    } else if (entry.key == "left border offset") {
        settings.LeftOffset = std::to_string(toInteger(value));
    }
}

// Entries naming a file of the program folder, and the folder each must stay in.
struct FileEntry {
    std::string_view key;
    std::string_view folder;
    std::string_view what;
};

constexpr std::array<FileEntry, 7> kFileEntries = {{
    {"page bg pic", "background/", "background picture"},
    {"home pic", "button/", "button image"},
    {"first pic", "button/", "button image"},
    {"prev pic", "button/", "button image"},
    {"next pic", "button/", "button image"},
    {"last pic", "button/", "button image"},
    {"index pic", "button/", "button image"},
}};

// A style names files by plain names in its folders; one that leads out of them, by ".."
// steps, an absolute name or a link, would bring any file of the computer into the gallery.
void checkFileReference(const std::string& style, const Entry& entry,
                        const std::string& programFolder) {
    for (const FileEntry& file : kFileEntries) {
        if (entry.key != file.key || (file.key == "page bg pic" && entry.value.empty())) {
            continue;
        }
        const std::string folder = programFolder + std::string(file.folder);
        if (!liesInside(folder + std::string(entry.value), folder)) {
            throw ProjectError("The style " + style + " names the " + std::string(file.what) + " " +
                               std::string(entry.value) + ", which is not inside " + folder + ".");
        }
    }
}

std::vector<Entry> defaultSection(const std::vector<std::string>& styleLines) {
    std::vector<Entry> entries;
    bool inSection = false;
    for (const std::string& line : styleLines) {
        if (!inSection) {
            inSection = line == kBeginMarker;
        } else if (line == kEndMarker) {
            break;
        } else {
            entries.push_back(splitEntry(line));
        }
    }
    return entries;
}

} // namespace

void applyStyleDefaults(const std::string& style, const std::vector<std::string>& styleLines,
                        const std::string& programFolder, GallerySettings& settings,
                        StyleLinkImages& linkImages) {
    const std::vector<Entry> entries = defaultSection(styleLines);
    for (const Entry& entry : entries) {
        checkFileReference(style, entry, programFolder);
    }
    for (const Entry& entry : entries) {
        applyEntry(entry, programFolder, settings, linkImages);
    }
}

} // namespace vellumar
