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

std::string place(const BackgroundSource& source, const std::string& folder,
                  const PageContext& context) {
    context.policy.checkNotProtected(folder + source.name);
    if (source.way == BackgroundSource::Way::Copied) {
        copyFileReplacing(source.path, folder + source.name);
    } else {
        // The converter reads the whole picture before it replaces its output, so a
        // background that is already in place may be converted onto itself; a link there is
        // replaced.
        context.toJpeg(source.path, folder + source.name);
    }
    return source.name;
}

} // namespace

BackgroundSource pageBackgroundSource(const std::string& setting) {
    std::string path = existingPicture(setting);
    const std::string extension = toLowerAscii(extensionOf(path));
    if (extension == "bmp") {
        return {BackgroundSource::Way::Converted, std::move(path),
                std::string(kPageBackgroundJpeg)};
    }
    if (extension == "gif") {
        return {BackgroundSource::Way::Copied, std::move(path), std::string(kPageBackgroundGif)};
    }
    if (extension == "jpg") {
        return {BackgroundSource::Way::Copied, std::move(path), std::string(kPageBackgroundJpeg)};
    }
    return {};
}

BackgroundSource tableBackgroundSource(const std::string& setting) {
    std::string path = existingPicture(setting);
    if (path.empty()) {
        return {};
    }
    return {BackgroundSource::Way::Converted, std::move(path), std::string(kTableBackground)};
}

std::string placePageBackground(const std::string& setting, const std::string& folder,
                                const PageContext& context) {
    const BackgroundSource source = pageBackgroundSource(setting);
    if (source.way != BackgroundSource::Way::None) {
        return place(source, folder, context);
    }
    return existingPicture(setting).empty() ? kEmptyAttribute : std::string();
}

std::string placeTableBackground(const std::string& setting, const std::string& folder,
                                 const PageContext& context) {
    const BackgroundSource source = tableBackgroundSource(setting);
    return source.way == BackgroundSource::Way::None ? kEmptyAttribute
                                                     : place(source, folder, context);
}

} // namespace vellumar
