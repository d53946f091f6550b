#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellumar {

// R + 256 * G + 65536 * B, the form settings and project files hold.
using Color = std::uint32_t;

inline constexpr Color kBlack = 0;
inline constexpr Color kWhite = 16777215;

inline constexpr Color makeColor(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}
inline constexpr unsigned redOf(Color c) {
    return c & 0xFF;
}
inline constexpr unsigned greenOf(Color c) {
    return c >> 8 & 0xFF;
}
inline constexpr unsigned blueOf(Color c) {
    return c >> 16 & 0xFF;
}

// Six upper-case hex digits RRGGBB, the colour text of pages.
std::string GetRGB(Color color);

// Reads the first six characters of RRGGBB colour text. A pair that is not hexadecimal
// fails with "'$XX' is not a valid integer value".
Color HTMLColor2Color(std::string_view text);

} // namespace vellumar
