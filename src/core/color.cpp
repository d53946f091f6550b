#include "color.h"

#include <cstdio>

#include "integer_text.h"
#include "project_error.h"

namespace vellumar {

std::string GetRGB(Color color) {
    char text[7];
    std::snprintf(text, sizeof text, "%02X%02X%02X", redOf(color), greenOf(color), blueOf(color));
    return text;
}

namespace {

unsigned hexPair(std::string_view text, std::size_t position) {
    std::string pair{text.substr(position, 2)};
    auto value = parseInteger("$" + pair);
    if (!value) {
        throw ProjectError(invalidIntegerMessage("$" + pair));
    }
    return static_cast<unsigned>(*value);
}

} // namespace

Color HTMLColor2Color(std::string_view text) {
    const std::string_view digits = text.substr(0, 6);
    return makeColor(hexPair(digits, 0), hexPair(digits, 2), hexPair(digits, 4));
}

} // namespace vellumar
