#pragma once

#include <string>

#include "readers/picture_metadata.h"

namespace vellumar {

inline constexpr std::size_t kLargestSidecarFile = 64 * 1024;

// The text of a sidecar file beside a picture: the picture's name with ".txt" added
// (beach.jpg.txt), else with ".txt" in place of its extension (beach.txt). A file that is
// missing, over 64 KiB or not UTF-8 text is passed over. "" when there is none.
std::string sidecarText(const std::string& picturePath);

// A picture's description: the one its metadata carries, else its sidecar file's text.
std::string pictureDescription(const PictureMetadata& metadata, const std::string& picturePath);

} // namespace vellumar
