#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// The widths as a project file and the settings page hold them: "640 1280 1920".
std::string responsiveWidthsText(const std::vector<int>& widths);

// Reads widths separated by blanks or commas, each a whole number of pixels a JPEG side can
// hold, into ascending order without repeats; an empty text is no widths. Anything else fails
// with a ProjectError that quotes the text.
std::vector<int> parseResponsiveWidths(std::string_view text);

} // namespace vellumar
