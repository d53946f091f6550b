#pragma once

#include <string_view>

#include "model/gallery_settings.h"

namespace vellumar {

// Refuses the settings whose output names would put a file outside its folder: IdxFileName
// must be a plain file name, ThumbPrefix and ThumbSuffix parts of one, PageSub a folder
// inside the destination folder; each of them UTF-8 text. The ProjectError names the setting
// and its value. Builds call it before they touch anything.
void checkOutputNames(const GallerySettings& settings);

// The PageSub rule alone: empty or "." (the destination folder itself), or folder names
// joined by "/" without a ".." step and not starting at the root, in UTF-8.
void checkPageFolderName(std::string_view name);

} // namespace vellumar
