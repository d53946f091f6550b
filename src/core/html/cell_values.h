#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "color.h"
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

// What "thumb loading" gives a picture that is not in view when its page opens: it is fetched
// as it comes near, and decoded off the page's rendering.
inline constexpr std::string_view kLazyImageAttributes = " loading=\"lazy\" decoding=\"async\"";

// The colour picture n's thumbnail shows while it loads, "#RRGGBB", or "" when it has none.
std::string thumbnailToneText(std::span<const std::optional<Color>> tones, int picture);

// A decimal integer setting written back in decimal ("table border" and the like).
std::string decimalSetting(std::string_view setting);

} // namespace vellumar
