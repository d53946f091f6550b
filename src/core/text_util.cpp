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
    return splitLinesKeepingNul(text.substr(0, text.find('\0')));
}

std::vector<std::string> splitLinesKeepingNul(std::string_view text) {
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

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range shuts out overlong forms (after E0 and F0), surrogates
        // (after ED) and code points past U+10FFFF (after F4).
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - i < static_cast<std::size_t>(length)) {
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string shownAsUtf8(std::string_view text) {
    if (isValidUtf8(text)) {
        return std::string(text);
    }
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            shown += c;
        } else {
            shown += "\\x";
            shown += kDigits[byte >> 4];
            shown += kDigits[byte & 0xF];
        }
    }
    return shown;
}

} // namespace vellumar
