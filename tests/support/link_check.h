#pragma once

#include <array>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/file_contents.h"

namespace vellumar::testing {

namespace link_check_detail {

namespace fs = std::filesystem;

inline std::string lowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return text;
}

inline bool isPage(const fs::path& path) {
    const std::string extension = lowered(path.extension().string());
    return extension == ".htm" || extension == ".html";
}

inline bool hasScheme(std::string_view link) {
    const std::size_t colon = link.find(':');
    return colon != std::string_view::npos &&
           link.substr(0, colon).find('/') == std::string_view::npos;
}

// The values of attribute=value pairs in a page, for the attributes that name files.
inline std::vector<std::string> linkedValues(const std::string& text) {
    static constexpr std::array<std::string_view, 3> kAttributes = {"href=", "src=", "background="};
    const std::string lower = lowered(text);
    std::vector<std::string> values;
    for (std::string_view attribute : kAttributes) {
        for (std::size_t at = lower.find(attribute); at != std::string::npos;
             at = lower.find(attribute, at + 1)) {
            // "src=" inside "xsrc=" is another attribute.
            if (at > 0 && std::isalnum(static_cast<unsigned char>(lower[at - 1]))) {
                continue;
            }
            // Templates write values with or without quotes.
            std::size_t start = at + attribute.size();
            std::size_t end = std::string::npos;
            if (start < text.size() && text[start] == '"') {
                ++start;
                end = text.find('"', start);
            } else {
                end = text.find_first_of(" \t>", start);
            }
            if (end != std::string::npos) {
                values.push_back(text.substr(start, end - start));
            }
        }
    }
    return values;
}

} // namespace link_check_detail

// Every relative href, src and background value (quoted or not) of every page (".htm", ".html")
// below a gallery folder that does not lead to an existing file, as "<page>: <link>". Links to "#",
// to other sites (a scheme such as "http:") and empty values are not files and are skipped;
// a "#fragment" or "?query" is cut off before the check.
inline std::vector<std::string> brokenGalleryLinks(const std::filesystem::path& galleryFolder) {
    using namespace link_check_detail;
    std::vector<std::string> broken;
    for (const auto& entry : fs::recursive_directory_iterator(galleryFolder)) {
        if (!entry.is_regular_file() || !isPage(entry.path())) {
            continue;
        }
        for (const std::string& value : linkedValues(readFile(entry.path()))) {
            const std::string link = value.substr(0, value.find_first_of("#?"));
            if (link.empty() || hasScheme(link)) {
                continue;
            }
            if (!fs::is_regular_file(entry.path().parent_path() / link)) {
                broken.push_back(fs::relative(entry.path(), galleryFolder).string() + ": " + value);
            }
        }
    }
    return broken;
}

} // namespace vellumar::testing
