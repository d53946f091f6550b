#include "sidecar_text.h"

#include <filesystem>
#include <system_error>

#include "file_io.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

// Well-formed UTF-8 without NUL or other control characters than line ends and tabs.
bool isText(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            if (lead < 0x20 && lead != '\n' && lead != '\r' && lead != '\t') {
                return false;
            }
            ++i;
            continue;
        }
        const int length = lead >= 0xF0 && lead <= 0xF4   ? 4
                           : lead >= 0xE0                 ? 3
                           : lead >= 0xC2 && lead <= 0xDF ? 2
                                                          : 0;
        if (length == 0 || i + length > bytes.size()) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
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
