#include "natural_name_order.h"

#include <cstddef>

namespace vellumar {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The digit run starting at position, without its leading zeros; position moves past it.
std::string_view digitRun(std::string_view text, std::size_t& position) {
    while (position < text.size() && text[position] == '0') {
        ++position;
    }
    const std::size_t start = position;
    while (position < text.size() && isDigit(text[position])) {
        ++position;
    }
    return text.substr(start, position - start);
}

// Negative, zero or positive as the numbers the two runs spell compare; runs of any length
// compare, without converting them to a number that could overflow.
int compareDigitRuns(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b);
}

} // namespace

bool naturalNameLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const int order = compareDigitRuns(digitRun(a, i), digitRun(b, j));
            if (order != 0) {
                return order < 0;
            }
            continue;
        }
        const char left = lowerAscii(a[i]);
        const char right = lowerAscii(b[j]);
        if (left != right) {
            return static_cast<unsigned char>(left) < static_cast<unsigned char>(right);
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return j < b.size(); // the shorter name, a prefix of the other, goes first
    }
    return a < b; // equal but for case or leading zeros
}

} // namespace vellumar
