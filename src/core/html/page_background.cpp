#include "page_background.h"

#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "model/gallery_file_names.h"
#include "readers/format_registry.h"
#include "text_util.h"

namespace vellumar {

namespace {

// The trimmed setting when it names an existing file, else "".
std::string existingPicture(const std::string& setting) {
    std::string path = trimBlanks(setting);
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return {};
    }
    return path;
}

std::string convertTo(const std::string& source, const std::string& folder, const std::string& name,
                      const PageContext& context) {
    context.policy.checkNotProtected(folder + name);
    // The converter reads the whole picture before it replaces its output, so a background
    // that is already in place may be converted onto itself; a link there is replaced.
    context.toJpeg(source, folder + name);
    return name;
}

std::string copyTo(const std::string& source, const std::string& folder, const std::string& name,
                   const PageContext& context) {
    context.policy.checkNotProtected(folder + name);
    copyFileReplacing(source, folder + name);
    return name;
}

} // namespace

std::string placePageBackground(const std::string& setting, const std::string& folder,
                                const PageContext& context) {
    const std::string source = existingPicture(setting);
    if (source.empty()) {
        return kEmptyAttribute;
    }
    const std::string extension = toLowerAscii(extensionOf(source));
    if (extension == "bmp") {
        return convertTo(source, folder, std::string(kPageBackgroundJpeg), context);
    }
    if (extension == "gif") {
        return copyTo(source, folder, std::string(kPageBackgroundGif), context);
    }
    if (extension == "jpg") {
        return copyTo(source, folder, std::string(kPageBackgroundJpeg), context);
    }
    return {};
}

std::string placeTableBackground(const std::string& setting, const std::string& folder,
                                 const PageContext& context) {
    const std::string source = existingPicture(setting);
    return source.empty() ? kEmptyAttribute
                          : convertTo(source, folder, std::string(kTableBackground), context);
}

} // namespace vellumar
