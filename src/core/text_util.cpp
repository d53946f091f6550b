#include "text_util.h"

#include <algorithm>

namespace vellumar {

namespace {

std::string trimWhere(std::string_view text, bool (*strip)(unsigned char)) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && strip(static_cast<unsigned char>(text[first]))) {
        ++first;
    }
    while (last > first && strip(static_cast<unsigned char>(text[last - 1]))) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

} // namespace

std::string trimBlanks(std::string_view text) {
    return trimWhere(text, [](unsigned char c) { return c == ' '; });
}

std::string trimBlanksAndControls(std::string_view text) {
    return trimWhere(text, [](unsigned char c) { return c <= ' '; });
}

std::string toLowerAscii(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

std::vector<std::string> splitLines(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
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

} // namespace vellumar
