#include "style_list.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "text_util.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kStyleExtension = ".htm";
// Far above any real page template; only guards against a wrong file of that name.
constexpr std::size_t kMaxTemplateBytes = 16 * 1024 * 1024;

} // namespace

std::vector<std::string> listStyles(const std::string& programFolder) {
    std::vector<std::string> styles;
    std::error_code error;
    for (fs::directory_iterator it(programFolder + "template/", error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code statusError;
        if (!it->is_regular_file(statusError) || name.size() <= kStyleExtension.size() ||
            !name.ends_with(kStyleExtension)) {
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

std::string templateFilePath(const std::string& programFolder, const std::string& style) {
    return programFolder + "template/" + style + std::string(kStyleExtension);
}

std::vector<std::string> loadTemplate(const std::string& programFolder, const std::string& style) {
    if (style.empty()) {
        throw ProjectError("No style is chosen, so the gallery pages cannot be built.");
    }
    // A project file may name any style; one with a folder step would read outside.
    if (style.find('/') != std::string::npos) {
        throw ProjectError("The style " + style + " is not a file name in " + programFolder +
                           "template/.");
    }
    return splitLines(readTextFile(templateFilePath(programFolder, style), kMaxTemplateBytes));
}

std::optional<Bitmap> loadStyleSample(const std::string& programFolder, const std::string& style,
                                      const PictureFormatRegistry& formats) {
    const std::string path = programFolder + "template/" + style + ".jpg";
    std::error_code error;
    if (!fs::exists(path, error)) {
        return std::nullopt;
    }
    return readPictureFile(path, formats);
}

void chooseStyle(const std::string& programFolder, const std::string& style,
                 GallerySettings& settings, StyleLinkImages& linkImages) {
    const std::vector<std::string> lines = loadTemplate(programFolder, style);
    settings.Style = style;
    applyStyleDefaults(style, lines, programFolder, settings, linkImages);
}

} // namespace vellumar
