#pragma once

#include <string>

#include "model/gallery_settings.h"

namespace vellumar {

// Paths end with the platform separator. Every builder derives its folders from the settings
// at the moment it runs.
struct OutputFolders {
    std::string root;     // index pages and copied button images
    std::string thumbs;   // thumbnails
    std::string pictures; // large pictures
    std::string pages;    // picture pages: the PageSub name, even while "Destination folder"
                          // is chosen for it
};

// DestFolder without surrounding blanks, with a trailing separator.
std::string destinationFolder(const GallerySettings& settings);

OutputFolders outputFoldersOf(const GallerySettings& settings);

// The preview gallery lives below the program folder in a fixed layout.
OutputFolders previewFolders(const std::string& previewRoot);

} // namespace vellumar
