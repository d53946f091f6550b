#pragma once

#include <string>
#include <string_view>

#include "model/img_entry.h"

namespace vellumar {

// A built size minus a style offset setting ("thumb width", "thumb height"), in decimal.
std::string sizeMinusOffset(int builtSize, std::string_view offsetSetting);

// "<width> X <height>" of the built large picture.
std::string pictureSizeText(const TImgEntry& entry);

// A decimal integer setting written back in decimal ("table border" and the like).
std::string decimalSetting(std::string_view setting);

} // namespace vellumar
