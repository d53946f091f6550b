#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/gallery_settings.h"
#include "model/nav_link.h"
#include "model/output_policy.h"

namespace vellumar {

// "nav home", "nav index", "nav first", "nav previous", "nav next" or "nav last".
bool isNavToken(std::string_view name);

// The image of a link, wrapped in a link to href when there is one. imageBase leads from the
// page to the destination folder, where the button images lie. A link that is off gives "".
std::string navLinkHtml(const TNavLink& link, std::string_view imageBase,
                        const std::optional<std::string>& href);

// The HTML of a navigation token on index page `page` of `pageCount`.
std::string indexNavHtml(std::string_view name, const GallerySettings& settings, int page,
                         int pageCount);

// The HTML of a navigation token on picture page `picture` of `pictureCount`; toRoot leads
// from the picture-page folder back to the destination folder ("../").
std::string pictureNavHtml(std::string_view name, const GallerySettings& settings, int picture,
                           int pictureCount, std::string_view toRoot);

// Copies the button image of every link that is on into folder (index-page links first,
// then picture-page links), replacing files of the same name whatever the overwrite mode.
// Picture pages reach them through the link back to the index pages.
void copyNavigationButtons(const GallerySettings& settings, const std::string& folder,
                           const OutputPolicy& policy);

} // namespace vellumar
