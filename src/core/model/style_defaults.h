#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/gallery_settings.h"
#include "model/nav_link.h"

namespace vellumar {

// The button image a style names for each link kind; the link dialog offers it when a link
// that is off is switched on.
using StyleLinkImages = std::array<std::string, kNavLinkKindCount>;

// Applies the default section of a style file (given as its lines) to the settings and the
// style's link images. programFolder ends with a separator. A button image that does not lie
// in programFolder + "button/", or a background picture not in programFolder +
// "background/" (links followed), is refused with a ProjectError naming the style and the
// reference, and then nothing is applied. A value that is not a number stops at its line with
// "'<text>' is not a valid integer value"; what came before stays.
void applyStyleDefaults(const std::string& style, const std::vector<std::string>& styleLines,
                        const std::string& programFolder, GallerySettings& settings,
                        StyleLinkImages& linkImages);

} // namespace vellumar
