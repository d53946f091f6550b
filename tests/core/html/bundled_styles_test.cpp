// Checks the styles installed with the program: a fault in one of them (a misspelt token, a
// button file that was renamed, a style sheet that is not copied) would only show in the
// galleries users build.

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "model/style_defaults.h"
#include "support/file_contents.h"
#include "text_util.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

const fs::path kDataFolder = VELLUMAR_SOURCE_DATA_DIR;
const fs::path kTemplateFolder = kDataFolder / "template";

const std::set<std::string, std::less<>> kPageTokens = {"title",
                                                        "page bg pic",
                                                        "page bg color",
                                                        "table border",
                                                        "table padding",
                                                        "table space",
                                                        "table bg pic",
                                                        "table bg color",
                                                        "table border color",
                                                        "top nav link",
                                                        "top nav link end",
                                                        "bottom nav link",
                                                        "bottom nav link end",
                                                        "nav home",
                                                        "nav index",
                                                        "nav first",
                                                        "nav previous",
                                                        "nav next",
                                                        "nav last",
                                                        "thumb cell begin",
                                                        "pic index page",
                                                        "page number",
                                                        "page count",
                                                        "pic row begin",
                                                        "pic row end",
                                                        "top nav bar",
                                                        "top nav bar end",
                                                        "bottom nav bar",
                                                        "bottom nav bar end"};
// The picture's date, camera and exposure expand to nothing where they are not known.
const std::set<std::string, std::less<>> kCellTokens = {
    "thumb width",   "thumb height", "thumb href",    "thumb file",        "thumb alt",
    "thumb title",   "thumb size",   "thumb srcset",  "pic info",          "pic alt",
    "pic date",      "pic camera",   "pic exposure",  "thumb link",        "thumb link end",
    "thumb loading", "thumb color",  "thumb picture", "thumb picture end", "pic srcset",
    "pic sizes"};
// Tokens whose markup stays where it leads nowhere ("#", a closed navigation bar); the bundled
// styles use the tokens that leave it out instead.
const std::set<std::string, std::less<>> kSupersededTokens = {
    "thumb href", "top nav link", "top nav link end", "bottom nav link", "bottom nav link end"};
const std::set<std::string, std::less<>> kDefaultKeys = {
    "page bg pic", "page bg color",     "home pic",          "index pic",    "first pic",
    "prev pic",    "next pic",          "last pic",          "table border", "table cell",
    "table space", "top border offset", "left border offset"};

std::vector<std::string> bundledStyles() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kTemplateFolder)) {
        if (entry.path().extension() == ".htm") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Lines end at CR, LF or CR LF, as the template loader splits them.
std::vector<std::string> readLines(const fs::path& file) {
    const std::string text = readFile(file);
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// The token names of a line, taken pair by pair as the page expander takes them.
std::vector<std::string> tokensOf(std::string_view line) {
    std::vector<std::string> names;
    for (;;) {
        const std::size_t open = line.find("<%");
        const std::size_t close = line.find("%>");
        if (open == std::string_view::npos || close == std::string_view::npos) {
            return names;
        }
        // Crossed markers have no meaning; report them as a name no vocabulary holds.
        names.emplace_back(open < close ? line.substr(open + 2, close - open - 2) : "%><%");
        line.remove_prefix(close + 2);
    }
}

// The file names a gallery build copies from the template folder: a name that ends in one
// of the copied extensions right before the closing quote of an attribute value.
std::vector<std::string> referencedResources(const std::string& line) {
    static const std::vector<std::string> extensions = {".gif\"", ".jpg\"", ".bmp\"", ".css\"",
                                                        ".js\""};
    const std::string lower = toLowerAscii(line);
    std::vector<std::string> names;
    std::size_t from = 0;
    for (;;) {
        std::size_t end = std::string::npos;
        for (const std::string& extension : extensions) {
            const std::size_t at = lower.find(extension, from);
            if (at != std::string::npos && (end == std::string::npos || at < end)) {
                end = at + extension.size() - 1;
            }
        }
        if (end == std::string::npos) {
            return names;
        }
        const std::size_t equals = lower.rfind("=\"", end);
        if (equals != std::string::npos && equals >= from) {
            names.push_back(line.substr(equals + 2, end - equals - 2));
        }
        from = end + 1;
    }
}

std::vector<std::string> defaultSection(const std::vector<std::string>& lines) {
    const auto begin = std::find(lines.begin(), lines.end(), "<%default begin%>");
    if (begin == lines.end()) {
        return {};
    }
    const auto end = std::find(begin + 1, lines.end(), "<%default end%>");
    return {begin + 1, end};
}

bool isNavToken(std::string_view name) {
    return name.substr(0, 4) == "nav ";
}

fs::path styleFile(const std::string& style) {
    return kTemplateFolder / (style + ".htm");
}

void checkDefaultSection(const std::string& style) {
    const std::vector<std::string> lines = readLines(styleFile(style));
    std::set<std::string, std::less<>> keys;
    for (const std::string& entry : defaultSection(lines)) {
        const std::size_t equals = entry.find('=');
        ASSERT_TRUE(entry.starts_with("<%") && equals != std::string::npos && entry.ends_with("%>"))
            << entry;
        keys.insert(entry.substr(2, equals - 2));
    }
    // Every key, so that choosing this style after another leaves nothing of the other behind.
    EXPECT_EQ(keys, kDefaultKeys);

    GallerySettings settings;
    StyleLinkImages images;
    ASSERT_NO_THROW(applyStyleDefaults(style, lines, kDataFolder.string() + "/", settings, images));

    for (const std::string& image : images) {
        EXPECT_TRUE(fs::is_regular_file(image)) << image;
    }
    for (const NavLinkKind kind :
         {NavLinkKind::First, NavLinkKind::Previous, NavLinkKind::Next, NavLinkKind::Last}) {
        EXPECT_TRUE(settings.IdxNav[kind].isOn());
        EXPECT_EQ(settings.PageNavLinks[kind].file, settings.IdxNav[kind].file);
    }
    if (!settings.IdxPageBGPic.empty()) {
        EXPECT_TRUE(fs::is_regular_file(settings.IdxPageBGPic)) << settings.IdxPageBGPic;
        // Pages take only these kinds of picture as their background.
        const std::string extension =
            toLowerAscii(fs::path(settings.IdxPageBGPic).extension().string());
        EXPECT_TRUE(extension == ".jpg" || extension == ".gif" || extension == ".bmp")
            << settings.IdxPageBGPic;
    }
}

void checkReferencedResources(const std::string& style) {
    bool hasStyleSheet = false;
    for (const std::string& line : readLines(styleFile(style))) {
        for (const std::string& name : referencedResources(line)) {
            EXPECT_TRUE(fs::is_regular_file(kTemplateFolder / name)) << name << " in " << line;
            hasStyleSheet = hasStyleSheet || toLowerAscii(name).ends_with(".css");
        }
    }
    EXPECT_TRUE(hasStyleSheet);
}

void checkTokens(const std::string& style) {
    const std::vector<std::string> lines = readLines(styleFile(style));
    std::set<std::string, std::less<>> used;
    int cellSections = 0;
    bool inCell = false;
    bool inDefaults = false;
    bool topOpen = false;
    bool bottomOpen = false;
    bool hasHeadEnd = false;
    bool afterPage = false;
    for (const std::string& line : lines) {
        hasHeadEnd = hasHeadEnd || line == "</head>";
        // Each line of the settings section comes out as an empty line: after the page's end
        // they trail the document instead of standing inside it.
        if (line == "<%default begin%>") {
            EXPECT_TRUE(afterPage) << "the settings section stands inside the page";
        }
        afterPage = afterPage || line == "</html>";
        if (line == "<%default begin%>" || line == "<%default end%>") {
            inDefaults = line == "<%default begin%>";
            continue;
        }
        if (inDefaults) {
            continue;
        }
        if (inCell && trimBlanksAndControls(line) == "<%thumb cell end%>") {
            inCell = false;
            continue;
        }
        for (const std::string& name : tokensOf(line)) {
            used.insert(name);
            if (inCell) {
                EXPECT_TRUE(kCellTokens.contains(name)) << "in the cell section: " << line;
                continue;
            }
            EXPECT_TRUE(kPageTokens.contains(name)) << "outside the cell section: " << line;
            if (name.starts_with("top nav ") && !isNavToken(name)) {
                topOpen = !name.ends_with(" end");
            } else if (name.starts_with("bottom nav ") && !isNavToken(name)) {
                bottomOpen = !name.ends_with(" end");
            } else if (isNavToken(name)) {
                EXPECT_TRUE(topOpen || bottomOpen) << "outside a navigation region: " << line;
            } else if (name == "thumb cell begin") {
                ++cellSections;
                inCell = true;
            }
        }
    }
    EXPECT_FALSE(inCell) << "the cell section has no end marker";
    EXPECT_EQ(cellSections, 1);
    EXPECT_FALSE(topOpen || bottomOpen) << "a navigation region is not closed";
    // The copy protection script goes before a line that is exactly this.
    EXPECT_TRUE(hasHeadEnd);

    std::set<std::string, std::less<>> vocabulary = kPageTokens;
    vocabulary.insert(kCellTokens.begin(), kCellTokens.end());
    for (const std::string& name : kSupersededTokens) {
        vocabulary.erase(name);
    }
    EXPECT_EQ(used, vocabulary);
}

// Styles are found at run time, so a style added to the folder is checked without any change
// here; the failure messages name the style.
template <typename Check>
void forEachStyle(Check check) {
    const std::vector<std::string> styles = bundledStyles();
    ASSERT_GE(styles.size(), 3u);
    for (const std::string& style : styles) {
        SCOPED_TRACE("style " + style);
        check(style);
    }
}

TEST(BundledStyles, DefaultSectionSetsEveryKeyToInstalledFiles) {
    forEachStyle(checkDefaultSection);
}

TEST(BundledStyles, EveryReferencedResourceIsInTheTemplateFolder) {
    forEachStyle(checkReferencedResources);
}

TEST(BundledStyles, UsesTheWholeVocabularyWhereEachTokenWorks) {
    forEachStyle(checkTokens);
}

TEST(BundledStyles, EachHasASamplePicture) {
    forEachStyle([](const std::string& style) {
        const std::string sample = readFile(kTemplateFolder / (style + ".jpg"));
        ASSERT_GE(sample.size(), 3u);
        EXPECT_EQ(sample.substr(0, 3), "\xFF\xD8\xFF");
    });
}

} // namespace
} // namespace vellumar
