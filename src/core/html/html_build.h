#pragma once

#include <span>
#include <string>

#include "frontend.h"
#include "html/page_context.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"

namespace vellumar {

// What the HTML build reads. The entries carry the sizes that the thumbnail and
// large-picture builds recorded; the pages go to the folders the settings name
// (outputFoldersOf).
struct HtmlBuild {
    const GallerySettings& settings;
    std::span<const TImgEntry> entries;
    std::string programFolder; // ends with "/"
    PictureToJpeg toJpeg;      // turns background pictures into JPEG files
};

// Writes every page of the gallery: the index pages with the style's files and the button
// images beside them, then one picture page per picture with the style's files beside them.
// Status texts and progress go to the front end. The table size, the picture-page folder name
// and a destination that must not be emptied are checked before any folder is touched; any
// other failure stops the build where it happens and leaves what was written.
void buildHtml(const HtmlBuild& build, const OutputPolicy& policy, Frontend& frontend);

} // namespace vellumar
