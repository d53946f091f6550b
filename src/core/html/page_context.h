#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "color.h"
#include "html/page_folder_links.h"
#include "html/template_file.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "readers/picture_metadata.h"

namespace vellumar {

// What a background or colour token gives when there is none: an empty quoted value.
inline constexpr const char* kEmptyAttribute = "\"\"";

// Turns a picture file of any readable format into a JPEG file, replacing what is there.
using PictureToJpeg =
    std::function<void(const std::string& pictureFile, const std::string& jpegFile)>;

// What a build published of a picture beside its thumbnails and large picture, for pages to
// offer.
struct PublishedExtras {
    // The formats beside JPEG its thumbnails are also in, smaller first.
    std::vector<ImageFormat> thumbnailFormats;
    // The widths of its large picture's smaller copies, ascending, and their formats beside
    // JPEG.
    std::vector<int> responsiveWidths;
    std::vector<ImageFormat> responsiveFormats;
};

// What every page of one build (or preview) is made from. Entry n - 1 is picture n, and so
// is metadata n - 1.
struct PageContext {
    const GallerySettings& settings;
    std::span<const TImgEntry> entries;
    const TemplateLines& templateLines;
    PageFolderLinks links;
    PictureToJpeg toJpeg;
    const OutputPolicy& policy;
    // What each picture's file tells about itself; pictures beyond it have none.
    std::span<const PictureMetadata> metadata = {};
    // The colour each picture's thumbnail shows while it loads; pictures beyond it, or whose
    // thumbnail could not be read, have none.
    std::span<const std::optional<Color>> thumbnailTones = {};
    // What each picture has beside its thumbnails and large picture; pictures beyond it have
    // nothing.
    std::span<const PublishedExtras> extras = {};
};

} // namespace vellumar
