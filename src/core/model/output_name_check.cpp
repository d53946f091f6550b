#include "output_name_check.h"

#include <algorithm>
#include <string>

#include "model/gallery_file_names.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

bool holdsAFolderStep(std::string_view text) {
    return text.find('/') != std::string_view::npos || text.find('\0') != std::string_view::npos;
}

std::string shown(std::string_view value) {
    return value.empty() ? std::string("an empty text") : shownAsUtf8(value);
}

[[noreturn]] void refuse(std::string_view setting, std::string_view rule, std::string_view value) {
    throw ProjectError("The setting " + std::string(setting) + " must be " + std::string(rule) +
                       ", not " + shown(value) + ".");
}

// Pages link to these names, and a link holds UTF-8 text: bytes that are not would reach
// the browser as other names than the files have.
void checkUtf8(std::string_view setting, std::string_view value) {
    if (!isValidUtf8(value)) {
        throw ProjectError("The setting " + std::string(setting) + " must be UTF-8 text, not " +
                           shownAsUtf8(value) + ".");
    }
}

void checkPlainFileName(std::string_view setting, std::string_view value) {
    if (value.empty() || value == "." || value == ".." || holdsAFolderStep(value)) {
        refuse(setting, "a plain file name", value);
    }
    checkUtf8(setting, value);
}

// Prefixes and suffixes sit around a number, so they may be empty or be dots.
void checkFileNamePart(std::string_view setting, std::string_view value) {
    if (holdsAFolderStep(value)) {
        refuse(setting, "part of a plain file name", value);
    }
    checkUtf8(setting, value);
}

} // namespace

void checkPageFolderName(std::string_view name) {
    bool leaves = name.starts_with('/') || name.find('\0') != std::string_view::npos;
    for (std::size_t start = 0; !leaves && start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        leaves = name.substr(start, end - start) == "..";
        start = end + 1;
    }
    if (leaves) {
        refuse("PageSub", "a folder name inside the destination folder", name);
    }
    checkUtf8("PageSub", name);
}

void checkOutputNames(const GallerySettings& settings) {
    checkPlainFileName("IdxFileName", settings.IdxFileName);
    if (settings.IdxFileName == kBuildLockFileName) {
        refuse("IdxFileName", "another name than that of the build lock", settings.IdxFileName);
    }
    checkFileNamePart("ThumbPrefix", settings.ThumbPrefix);
    checkFileNamePart("ThumbSuffix", settings.ThumbSuffix);
    checkPageFolderName(settings.PageSub.name);
}

} // namespace vellumar
