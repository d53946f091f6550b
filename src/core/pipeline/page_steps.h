#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "color.h"
#include "frontend.h"
#include "html/page_context.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "pipeline/build_plan.h"

namespace vellumar {

// What the page steps read: the entries carry the sizes the picture steps built.
struct PageInput {
    const GallerySettings& settings;
    std::span<const TImgEntry> entries;
    const std::string& programFolder;
    const OutputPolicy& policy;
    PictureToJpeg toJpeg;                           // turns background pictures into JPEG files
    std::span<const PictureMetadata> metadata = {}; // what each picture's file tells
    std::span<const std::optional<Color>> thumbnailTones = {}; // see PageContext
    std::span<const PublishedExtras> extras = {};              // see PageContext
};

// The status a build ends with once every page is written.
inline constexpr std::string_view kFinishedStatus = "Finished";

// A gallery's pages: the index pages with the style's files and the button images beside
// them, then one picture page per picture with the style's files beside them, with a status
// and progress for every page. Returns false when the front end asked to stop.
bool buildGalleryPages(const BuildPlan& plan, const PageInput& input, Frontend& frontend);

// A preview's pages: the buttons, index page 1 of 1, the style's files beside it and beside
// the picture pages, then the picture pages, linked as a sequence of the previewed pictures.
void buildPreviewPages(const BuildPlan& plan, const PageInput& input);

} // namespace vellumar
