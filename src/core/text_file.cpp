#include "text_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "project_error.h"

namespace vellumar {

std::string readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ProjectError("Cannot open file " + path + ": " + std::strerror(errno));
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        throw ProjectError("Cannot read file " + path + ": " + std::strerror(errno));
    }
    return std::move(text).str();
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return lines;
}

} // namespace vellumar
