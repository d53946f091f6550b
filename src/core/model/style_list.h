#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "model/gallery_settings.h"
#include "model/style_defaults.h"
#include "readers/format_registry.h"

namespace vellumar {

// The installed styles: the name of every "*.htm" file in programFolder + "template/",
// without its extension, sorted by name. programFolder ends with a separator.
std::vector<std::string> listStyles(const std::string& programFolder);

// The template file of a style: programFolder + "template/" + style + ".htm".
std::string templateFilePath(const std::string& programFolder, const std::string& style);

// The lines of a style's template file. Fails with a ProjectError naming the file when there
// is no style, its name has a folder step, or the file cannot be read.
std::vector<std::string> loadTemplate(const std::string& programFolder, const std::string& style);

// The style's sample picture programFolder + "template/" + style + ".jpg", or nothing when
// the style has none. A sample that cannot be read fails with the reader's message.
std::optional<Bitmap> loadStyleSample(const std::string& programFolder, const std::string& style,
                                      const PictureFormatRegistry& formats);

// Chooses a style: reads its template file and applies its default section.
void chooseStyle(const std::string& programFolder, const std::string& style,
                 GallerySettings& settings, StyleLinkImages& linkImages);

} // namespace vellumar
