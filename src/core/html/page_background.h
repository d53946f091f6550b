#pragma once

#include <string>

#include "html/page_context.h"

namespace vellumar {

// How a background picture named by a setting gets beside a page: nowhere (a blank setting,
// a missing file, or for a page background an extension other than ".bmp", ".gif" and
// ".jpg"), copied as it is, or converted to JPEG; and the file name the page refers to.
struct BackgroundSource {
    enum class Way { None, Copied, Converted };
    Way way = Way::None;
    std::string path; // the trimmed setting, for Copied and Converted
    std::string name; // "PageBG.jpg", "PageBG.gif" or "TableBG.jpg"
};

// IdxPageBGPic or PageBGPic: "PageBG.jpg" for a ".bmp" (converted) or ".jpg" (copied),
// "PageBG.gif" for a ".gif" (copied), by the extension in any letter case.
BackgroundSource pageBackgroundSource(const std::string& setting);
// ThumbTableBGPic: converted to "TableBG.jpg".
BackgroundSource tableBackgroundSource(const std::string& setting);

// Puts the page background named by a setting (IdxPageBGPic or PageBGPic) beside a page in
// folder and returns the file name the page refers to. A blank setting or a missing file
// gives kEmptyAttribute; any other extension gives "" and writes nothing.
std::string placePageBackground(const std::string& setting, const std::string& folder,
                                const PageContext& context);

// Converts the table background named by ThumbTableBGPic to "TableBG.jpg" in folder and
// returns that name; a blank setting or a missing file gives kEmptyAttribute.
std::string placeTableBackground(const std::string& setting, const std::string& folder,
                                 const PageContext& context);

} // namespace vellumar
