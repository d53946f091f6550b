#include "sidecar_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

// Well-formed UTF-8 without NUL or other control characters than line ends and tabs.
bool isText(const std::string& bytes) {
    return isValidUtf8(bytes) && std::none_of(bytes.begin(), bytes.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r' && c != '\t';
           });
}

std::string readSidecar(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > kLargestSidecarFile || error) {
        return {};
    }
    try {
        const std::string text = readTextFile(path.string(), kLargestSidecarFile);
        return isText(text) ? trimBlanksAndControls(text) : std::string();
    } catch (const ProjectError&) {
        return {};
    }
}

} // namespace

std::string sidecarText(const std::string& picturePath) {
    const std::filesystem::path picture(picturePath);
    std::string text = readSidecar(picture.string() + ".txt");
    if (text.empty() && picture.has_extension()) {
        std::filesystem::path replaced = picture;
        text = readSidecar(replaced.replace_extension(".txt"));
    }
    return text;
}

std::string pictureDescription(const PictureMetadata& metadata, const std::string& picturePath) {
    return metadata.description.empty() ? sidecarText(picturePath) : metadata.description;
}

} // namespace vellumar
