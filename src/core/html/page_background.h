#pragma once

#include <string>

#include "html/page_context.h"

namespace vellumar {

// Puts the page background named by a setting (IdxPageBGPic or PageBGPic) beside a page in
// folder and returns the file name the page refers to: "PageBG.jpg" for a ".bmp" (converted)
// or ".jpg" (copied), "PageBG.gif" for a ".gif" (copied). A blank setting or a missing file
// gives kEmptyAttribute; any other extension gives "" and writes nothing.
std::string placePageBackground(const std::string& setting, const std::string& folder,
                                const PageContext& context);

// Converts the table background named by ThumbTableBGPic to "TableBG.jpg" in folder and
// returns that name; a blank setting or a missing file gives kEmptyAttribute.
std::string placeTableBackground(const std::string& setting, const std::string& folder,
                                 const PageContext& context);

} // namespace vellumar
