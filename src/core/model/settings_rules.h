#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/gallery_settings.h"

namespace vellumar {

// The rules that tie settings together. The settings pages call these when the user changes
// a flag or choice; a loaded project only has its size flags repaired.

void setThumbWidthFlag(GallerySettings& settings, bool on);
void setThumbHeightFlag(GallerySettings& settings, bool on);
void setThumbFit(GallerySettings& settings, ThumbFit fit);
void setPicWidthFlag(GallerySettings& settings, bool on);
void setPicHeightFlag(GallerySettings& settings, bool on);
// A stored pair of size flags that are both off gets its width flag back.
void repairSizeFlags(GallerySettings& settings);

// Which values can be edited in the current state of the flags and choices.
struct SettingsEditability {
    bool thumbSubName, picSubName, pageSubName;
    bool thumbWidthValue, thumbHeightValue;
    bool thumbBorderWidthAndColor;
    bool picSizeFlagsAndBorderFlag;
    bool picWidthValue, picHeightValue;
    bool picBorderWidthAndColor;
    bool idxPageBGColor, thumbTableBGColor, pageBGColor;
    bool thumbALT;
};
SettingsEditability editabilityOf(const GallerySettings& settings);

// The integer settings whose text is checked when the user leaves its field.
enum class CheckedInteger { ThumbWidth, ThumbHeight, ThumbBorderWidth, PicWidth, PicHeight };

// The message and reset value of a field check.
struct IntegerCheck {
    std::string_view message;
    std::string_view resetValue;
};
IntegerCheck integerCheckOf(CheckedInteger setting);

// Checks the text of a field being left. A text that is not an integer is replaced by the
// reset value, and the message for the user is returned.
std::optional<std::string> checkIntegerText(CheckedInteger setting, std::string& text);

// The number settings with up/down buttons.
enum class SteppedInteger {
    ThumbWidth,
    ThumbHeight,
    ThumbBorderWidth,
    PicWidth,
    PicHeight,
    PicBorderWidth,
    ThumbTableCol,
    ThumbTableRow,
    ThumbTableCellPad,
    ThumbTableCellSpace,
    ThumbTableBorderWidth,
};

struct StepRule {
    int step;
    int lowest;
    std::optional<int> highest;
    std::string_view resetValue;
};
StepRule stepRuleOf(SteppedInteger setting);

// One press of up (+1) or down (-1): the stepped, clamped number as text, or the reset value
// when the text is not a number.
std::string stepIntegerText(SteppedInteger setting, std::string_view text, int direction);

} // namespace vellumar
