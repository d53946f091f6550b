#pragma once

#include <string>
#include <string_view>

#include "model/img_entry.h"

namespace vellumar {

// A built size minus a style offset setting ("thumb width", "thumb height"), in decimal.
std::string sizeMinusOffset(int builtSize, std::string_view offsetSetting);

// "<width> X <height>" of the built large picture.
std::string pictureSizeText(const TImgEntry& entry);

// A text as the value of a double-quoted attribute: its double quotes become "&quot;".
// Everything else stays as the user wrote it, markup and entities included.
std::string quotedAttributeText(std::string_view text);

// An address as one candidate of a srcset list, which blanks and commas would split: those
// are percent-encoded, which a browser reads back as the same file name.
std::string srcsetAddress(std::string_view address);

// A decimal integer setting written back in decimal ("table border" and the like).
std::string decimalSetting(std::string_view setting);

} // namespace vellumar
