#pragma once

#include <string>

#include "model/gallery_settings.h"

namespace vellumar {

// Index page 1 is named by IdxFileName, page n >= 2 "index<n>.htm".
std::string indexPageFileName(const GallerySettings& settings, int page);

// "page<n>.htm"
std::string picturePageFileName(int picture);

} // namespace vellumar
