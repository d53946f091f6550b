#include "responsive_widths.h"

#include <algorithm>
#include <charconv>

#include "imaging/jpeg_writer.h"
#include "project_error.h"

namespace vellumar {

std::string responsiveWidthsText(const std::vector<int>& widths) {
    std::string text;
    for (const int width : widths) {
        text += (text.empty() ? "" : " ") + std::to_string(width);
    }
    return text;
}

std::vector<int> parseResponsiveWidths(std::string_view text) {
    std::vector<int> widths;
    const auto isSeparator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    for (std::size_t at = 0; at < text.size();) {
        if (isSeparator(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !isSeparator(text[end])) {
            ++end;
        }
        int width = 0;
        const auto [stop, error] = std::from_chars(text.data() + at, text.data() + end, width);
        if (error != std::errc() || stop != text.data() + end || width < 1 ||
            width > kMaxJpegSide) {
            throw ProjectError("'" + std::string(text) +
                               "' is not a list of widths in pixels, such as 640 1280 1920");
        }
        widths.push_back(width);
        at = end;
    }
    std::sort(widths.begin(), widths.end());
    widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
    return widths;
}

} // namespace vellumar
