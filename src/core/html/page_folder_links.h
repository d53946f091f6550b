#pragma once

#include <string>
#include <string_view>

namespace vellumar {

// The relative links between the destination folder and the picture-page folder below it.
struct PageFolderLinks {
    std::string toPages; // from an index page to the picture pages: "picpage/"
    std::string toRoot;  // from a picture page back to the destination folder: "../"
};

// The links for a picture-page folder name (the PageSub name). An empty name or "." puts the
// pages beside the index pages. A name that leaves the destination folder (absolute, or with
// a ".." part) fails with a ProjectError (checkPageFolderName).
PageFolderLinks pageFolderLinks(std::string_view pageSubName);

} // namespace vellumar
