#include "style_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "html/template_file.h"
#include "text_util.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kStyleExtension = ".htm";

} // namespace

std::vector<std::string> listStyles(const std::string& programFolder) {
    std::vector<std::string> styles;
    std::error_code error;
    for (fs::directory_iterator it(programFolder + "template/", error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statusError;
        if (!it->is_regular_file(statusError) || name.size() <= kStyleExtension.size() ||
            !equalsIgnoringCase(name.substr(name.size() - kStyleExtension.size()),
                                kStyleExtension)) {
            continue;
        }
        styles.push_back(name.substr(0, name.size() - kStyleExtension.size()));
    }
    // The style chooser lists them the way people read names: letter case aside.
    std::sort(styles.begin(), styles.end(), [](const std::string& a, const std::string& b) {
        const std::string lowerA = toLowerAscii(a);
        const std::string lowerB = toLowerAscii(b);
        return lowerA != lowerB ? lowerA < lowerB : a < b;
    });
    return styles;
}

void chooseStyle(const std::string& programFolder, const std::string& style,
                 GallerySettings& settings, StyleLinkImages& linkImages) {
    const TemplateLines lines = loadTemplate(programFolder, style);
    settings.Style = style;
    applyStyleDefaults(lines, programFolder, settings, linkImages);
}

} // namespace vellumar
