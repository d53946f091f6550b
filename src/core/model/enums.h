#pragma once

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "imaging/crop_align.h"

namespace vellumar {

// Stored in project files as their decimal number, so the values are fixed.
enum class OverwriteMode { Ask = 0, AddOnly = 1, Overwrite = 2 };
enum class NavPosition { Top = 0, Bottom = 1, Both = 2 };
enum class ThumbLinkTarget { PicturePage = 0, Picture = 1, None = 2 };
// The formats a build writes pictures in.
enum class ImageFormat { Jpeg, Webp, Avif };

// "JPEG", "WebP", "AVIF": how messages name a format.
inline std::string_view formatName(ImageFormat format) {
    constexpr std::array<std::string_view, 3> names = {"JPEG", "WebP", "AVIF"};
    return names[static_cast<std::size_t>(format)];
}

// Stored by name: "none", "WebP", "AVIF" or "both".
enum class ModernFormatChoice { None, Webp, Avif, Both };

inline bool wantsAvif(const std::vector<ImageFormat>& formats) {
    return std::find(formats.begin(), formats.end(), ImageFormat::Avif) != formats.end();
}

// The formats a choice asks for, in the order pages offer them: the smaller first.
inline std::vector<ImageFormat> modernFormatsOf(ModernFormatChoice choice) {
    switch (choice) {
    case ModernFormatChoice::Webp:
        return {ImageFormat::Webp};
    case ModernFormatChoice::Avif:
        return {ImageFormat::Avif};
    case ModernFormatChoice::Both:
        return {ImageFormat::Avif, ImageFormat::Webp};
    case ModernFormatChoice::None:
        break;
    }
    return {};
}

// The texts the user chooses from, in item order.
inline constexpr std::array<std::string_view, 3> kOverwriteModeItems = {
    "Ask for each file", "Add files only", "Always overwrite"};
inline constexpr std::array<std::string_view, 3> kNavPositionItems = {"Top", "Bottom", "Both"};
inline constexpr std::array<std::string_view, 4> kModernFormatItems = {"none", "WebP", "AVIF",
                                                                       "both"};
inline constexpr std::array<std::string_view, 3> kThumbLinkTargetItems = {
    "Picture HTML pages", "Pictures themselves", "Do not link to anything"};
inline constexpr std::array<std::string_view, 4> kCropAlignItems = {"No Crop", "Top/Left", "Center",
                                                                    "Right/Bottom"};
inline constexpr std::array<std::string_view, 4> kRotationItems = {"0 degree", "90 degrees",
                                                                   "180 degrees", "270 degrees"};

} // namespace vellumar
