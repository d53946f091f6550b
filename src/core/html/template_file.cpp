#include "template_file.h"

#include "file_io.h"
#include "project_error.h"

namespace vellumar {

namespace {

// Far above any real page template; only guards against a wrong file of that name.
constexpr std::size_t kMaxTemplateBytes = 16 * 1024 * 1024;

} // namespace

TemplateLines splitTemplateText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    TemplateLines lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string templateFilePath(const std::string& programFolder, const std::string& style) {
    return programFolder + "template/" + style + ".htm";
}

TemplateLines loadTemplate(const std::string& programFolder, const std::string& style) {
    if (style.empty()) {
        throw ProjectError("No style is chosen, so the gallery pages cannot be built.");
    }
    return splitTemplateText(
        readTextFile(templateFilePath(programFolder, style), kMaxTemplateBytes));
}

} // namespace vellumar
