#pragma once

#include <array>
#include <string_view>

#include "imaging/crop_align.h"

namespace vellumar {

// Stored in project files as their decimal number, so the values are fixed.
enum class OverwriteMode { Ask = 0, AddOnly = 1, Overwrite = 2 };
enum class NavPosition { Top = 0, Bottom = 1, Both = 2 };
enum class ThumbLinkTarget { PicturePage = 0, Picture = 1, None = 2 };

// The texts the user chooses from, in item order.
inline constexpr std::array<std::string_view, 3> kOverwriteModeItems = {
    "Ask for each file", "Add files only", "Always overwrite"};
inline constexpr std::array<std::string_view, 3> kNavPositionItems = {"Top", "Bottom", "Both"};
inline constexpr std::array<std::string_view, 3> kThumbLinkTargetItems = {
    "Picture HTML pages", "Pictures themselves", "Do not link to anything"};
inline constexpr std::array<std::string_view, 4> kCropAlignItems = {"No Crop", "Top/Left", "Center",
                                                                    "Right/Bottom"};
inline constexpr std::array<std::string_view, 4> kRotationItems = {"0 degree", "90 degrees",
                                                                   "180 degrees", "270 degrees"};

} // namespace vellumar
