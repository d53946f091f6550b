#include "gallery_file_names.h"

#include <array>
#include <optional>

#include "imaging/jpeg_writer.h"
#include "model/picture_list.h"
#include "path_text.h"

namespace vellumar {

namespace {

constexpr std::string_view kDoubleSizeMark = "@2x";

constexpr std::array kIndexButtons = {NavLinkKind::Home, NavLinkKind::First, NavLinkKind::Previous,
                                      NavLinkKind::Next, NavLinkKind::Last};
constexpr std::array kPageButtons = {NavLinkKind::Home, NavLinkKind::First, NavLinkKind::Previous,
                                     NavLinkKind::Next, NavLinkKind::Last,  NavLinkKind::Index};

// A number as the names carry it: by default 1 to the capacity of a picture list, no leading
// zeros.
bool isNumberInName(std::string_view digits, int lowest, int highest = PictureList::kCapacity) {
    if (digits.empty() || digits.size() > 9 || digits.front() == '0') {
        return false;
    }
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value >= lowest && value <= highest;
}

// Whether name is prefix + a number + suffix.
bool isNumbered(std::string_view name, std::string_view prefix, std::string_view suffix,
                int lowest = 1) {
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    return isNumberInName(name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()),
                          lowest);
}

// The name without the extension of a format pictures are written in, or nothing.
std::optional<std::string_view> withoutPictureExtension(std::string_view name) {
    for (const std::string_view extension : {".jpg", ".webp", ".avif"}) {
        if (name.ends_with(extension)) {
            return name.substr(0, name.size() - extension.size());
        }
    }
    return std::nullopt;
}

std::string inFolder(std::string_view folder, const std::string& fileName) {
    return std::string(folder) + "/" + fileName;
}

template <typename Kinds>
void addButtonsThatAreOn(const NavLinkSet& set, const Kinds& kinds,
                         std::vector<const TNavLink*>& buttons) {
    for (NavLinkKind kind : kinds) {
        if (set[kind].isOn()) {
            buttons.push_back(&set[kind]);
        }
    }
}

} // namespace

std::string thumbnailFileName(const GallerySettings& settings, std::size_t picture) {
    return settings.ThumbPrefix + std::to_string(picture) + settings.ThumbSuffix + ".jpg";
}

std::string doubleSizeThumbnailFileName(const GallerySettings& settings, std::size_t picture) {
    return settings.ThumbPrefix + std::to_string(picture) + settings.ThumbSuffix +
           std::string(kDoubleSizeMark) + ".jpg";
}

std::string largePictureFileName(std::size_t picture) {
    return "pic" + std::to_string(picture) + ".jpg";
}

std::string responsiveCopyFileName(std::size_t picture, int width) {
    return "pic" + std::to_string(picture) + "-" + std::to_string(width) + ".jpg";
}

std::string inFormat(std::string_view jpegFileName, ImageFormat format) {
    std::string name(jpegFileName.substr(0, jpegFileName.size() - std::string_view(".jpg").size()));
    switch (format) {
    case ImageFormat::Webp:
        return name + ".webp";
    case ImageFormat::Avif:
        return name + ".avif";
    case ImageFormat::Jpeg:
        break;
    }
    return std::string(jpegFileName);
}

std::string_view mimeTypeOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Webp:
        return "image/webp";
    case ImageFormat::Avif:
        return "image/avif";
    case ImageFormat::Jpeg:
        break;
    }
    return "image/jpeg";
}

std::string thumbnailAddress(const GallerySettings& settings, std::size_t picture) {
    return inFolder(kThumbnailFolder, thumbnailFileName(settings, picture));
}

std::string doubleSizeThumbnailAddress(const GallerySettings& settings, std::size_t picture) {
    return inFolder(kThumbnailFolder, doubleSizeThumbnailFileName(settings, picture));
}

std::string largePictureAddress(std::size_t picture) {
    return inFolder(kLargePictureFolder, largePictureFileName(picture));
}

std::string responsiveCopyAddress(std::size_t picture, int width) {
    return inFolder(kLargePictureFolder, responsiveCopyFileName(picture, width));
}

std::string indexPageFileName(const GallerySettings& settings, int page) {
    return page == 1 ? settings.IdxFileName : "index" + std::to_string(page) + ".htm";
}

std::string picturePageFileName(int picture) {
    return "page" + std::to_string(picture) + ".htm";
}

std::string buttonFileName(const TNavLink& link) {
    return fileNameOf(link.file);
}

std::vector<const TNavLink*> copiedButtons(const GallerySettings& settings) {
    std::vector<const TNavLink*> buttons;
    addButtonsThatAreOn(settings.IdxNav, kIndexButtons, buttons);
    addButtonsThatAreOn(settings.PageNavLinks, kPageButtons, buttons);
    return buttons;
}

bool isThumbnailFileName(const GallerySettings& settings, std::string_view name) {
    const auto stem = withoutPictureExtension(name);
    if (!stem) {
        return false;
    }
    const std::string doubleSizeSuffix = settings.ThumbSuffix + std::string(kDoubleSizeMark);
    return isNumbered(*stem, settings.ThumbPrefix, settings.ThumbSuffix) ||
           isNumbered(*stem, settings.ThumbPrefix, doubleSizeSuffix);
}

bool isLargePictureFileName(std::string_view name) {
    if (isNumbered(name, "pic", ".jpg")) {
        return true;
    }
    const auto stem = withoutPictureExtension(name);
    const std::size_t dash = stem ? stem->rfind('-') : std::string_view::npos;
    return dash != std::string_view::npos && isNumbered(stem->substr(0, dash), "pic", "") &&
           isNumberInName(stem->substr(dash + 1), 1, kMaxJpegSide);
}

bool isIndexPageFileName(const GallerySettings& settings, std::string_view name) {
    // Page 1 takes the name of the setting, so "index1.htm" is never written.
    return name == settings.IdxFileName || isNumbered(name, "index", ".htm", 2);
}

bool isPicturePageFileName(std::string_view name) {
    return isNumbered(name, "page", ".htm");
}

} // namespace vellumar
