#include "settings_rules.h"

#include <algorithm>
#include <cstdint>

#include "integer_text.h"

namespace vellumar {

void setThumbWidthFlag(GallerySettings& settings, bool on) {
    settings.ThumbWidth.on = on;
    if (!on && !settings.ThumbHeight.on) {
        settings.ThumbHeight.on = true;
    }
    if (!on && settings.ThumbStretch == ThumbFit::Crop) {
        settings.ThumbWidth.on = true;
    }
}

void setThumbHeightFlag(GallerySettings& settings, bool on) {
    settings.ThumbHeight.on = on;
    if (!on && !settings.ThumbWidth.on) {
        settings.ThumbWidth.on = true;
    }
    if (!on && settings.ThumbStretch == ThumbFit::Crop) {
        settings.ThumbHeight.on = true;
    }
}

void setThumbFit(GallerySettings& settings, ThumbFit fit) {
    settings.ThumbStretch = fit;
    settings.ThumbWidth.on = true;
    settings.ThumbHeight.on = fit == ThumbFit::Crop;
}

void setPicWidthFlag(GallerySettings& settings, bool on) {
    settings.PicWidth.on = on || !settings.PicHeight.on;
}

void setPicHeightFlag(GallerySettings& settings, bool on) {
    settings.PicHeight.on = on || !settings.PicWidth.on;
}

void repairSizeFlags(GallerySettings& settings) {
    if (!settings.ThumbWidth.on && !settings.ThumbHeight.on) {
        settings.ThumbWidth.on = true;
    }
    if (!settings.PicWidth.on && !settings.PicHeight.on) {
        settings.PicWidth.on = true;
    }
}

SettingsEditability editabilityOf(const GallerySettings& s) {
    SettingsEditability e{};
    e.thumbSubName = !s.ThumbSub.useDestFolder;
    e.picSubName = !s.PicSub.useDestFolder;
    e.pageSubName = !s.PageSub.useDestFolder;
    e.thumbWidthValue = s.ThumbWidth.on;
    e.thumbHeightValue = s.ThumbHeight.on;
    e.thumbBorderWidthAndColor = s.ThumbBorder;
    e.picSizeFlagsAndBorderFlag = s.ResizePic;
    e.picWidthValue = s.ResizePic && s.PicWidth.on;
    e.picHeightValue = s.ResizePic && s.PicHeight.on;
    e.picBorderWidthAndColor = s.ResizePic && s.PicBorder;
    e.idxPageBGColor = s.IdxPageBGColor.on;
    e.thumbTableBGColor = s.ThumbTableBGColor.on;
    e.pageBGColor = s.PageBGColor.on;
    e.thumbALT = !s.ThumbInfoFromPicture;
    return e;
}

IntegerCheck integerCheckOf(CheckedInteger setting) {
    switch (setting) {
    case CheckedInteger::ThumbWidth:
        return {"Thumbnail width can only be integer.", "100"};
    case CheckedInteger::ThumbHeight:
        return {"Thumbnail height can only be integer.", "100"};
    case CheckedInteger::ThumbBorderWidth:
        return {"Thumbnail border width can only be integer.", "1"};
    case CheckedInteger::PicWidth:
        return {"Resized picture width can only be integer.", "600"};
    case CheckedInteger::PicHeight:
        return {"Resized picture height can only be integer.", "400"};
    }
    return {};
}

std::optional<std::string> checkIntegerText(CheckedInteger setting, std::string& text) {
    if (parseInteger(text)) {
        return std::nullopt;
    }
    const IntegerCheck check = integerCheckOf(setting);
    text = check.resetValue;
    return std::string(check.message);
}

StepRule stepRuleOf(SteppedInteger setting) {
    switch (setting) {
    case SteppedInteger::ThumbWidth:
    case SteppedInteger::ThumbHeight:
        return {10, 10, 1000, "100"};
    case SteppedInteger::ThumbBorderWidth:
        return {1, 1, 15, "1"};
    case SteppedInteger::PicWidth:
        return {10, 1, std::nullopt, "600"};
    case SteppedInteger::PicHeight:
        return {10, 1, std::nullopt, "400"};
    case SteppedInteger::PicBorderWidth:
        return {1, 1, std::nullopt, "1"};
    case SteppedInteger::ThumbTableCol:
        return {1, 1, 50, "4"};
    case SteppedInteger::ThumbTableRow:
        return {1, 1, 50, "3"};
    case SteppedInteger::ThumbTableCellPad:
    case SteppedInteger::ThumbTableCellSpace:
        return {1, 0, 100, "5"};
    case SteppedInteger::ThumbTableBorderWidth:
        return {1, 0, 50, "0"};
    }
    return {};
}

std::string stepIntegerText(SteppedInteger setting, std::string_view text, int direction) {
    const StepRule rule = stepRuleOf(setting);
    const auto value = parseInteger(text);
    if (!value) {
        return std::string(rule.resetValue);
    }
    long long next = static_cast<long long>(*value) + static_cast<long long>(direction) * rule.step;
    next = std::max<long long>(next, rule.lowest);
    next = std::min<long long>(next, rule.highest.value_or(INT32_MAX));
    return std::to_string(next);
}

} // namespace vellumar
