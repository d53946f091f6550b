#include "cell_values.h"

#include "model/integer_text.h"

namespace vellumar {

std::string sizeMinusOffset(int builtSize, std::string_view offsetSetting) {
    return std::to_string(static_cast<long long>(builtSize) - toInteger(offsetSetting));
}

std::string pictureSizeText(const TImgEntry& entry) {
    return std::to_string(entry.builtPicWidth) + " X " + std::to_string(entry.builtPicHeight);
}

std::string decimalSetting(std::string_view setting) {
    return std::to_string(toInteger(setting));
}

} // namespace vellumar
