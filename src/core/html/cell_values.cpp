#include "cell_values.h"

#include "integer_text.h"

namespace vellumar {

std::string sizeMinusOffset(int builtSize, std::string_view offsetSetting) {
    return std::to_string(static_cast<long long>(builtSize) - toInteger(offsetSetting));
}

std::string pictureSizeText(const TImgEntry& entry) {
    return std::to_string(entry.builtPicWidth) + " X " + std::to_string(entry.builtPicHeight);
}

std::string quotedAttributeText(std::string_view text) {
    std::string quoted;
    for (const char c : text) {
        if (c == '"') {
            quoted += "&quot;";
        } else {
            quoted += c;
        }
    }
    return quoted;
}

std::string srcsetAddress(std::string_view address) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ',' || byte <= ' ') {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0xF];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string thumbnailToneText(std::span<const std::optional<Color>> tones, int picture) {
    if (picture < 1 || static_cast<std::size_t>(picture) > tones.size() ||
        !tones[static_cast<std::size_t>(picture) - 1]) {
        return {};
    }
    return "#" + GetRGB(*tones[static_cast<std::size_t>(picture) - 1]);
}

std::string decimalSetting(std::string_view setting) {
    return std::to_string(toInteger(setting));
}

} // namespace vellumar
