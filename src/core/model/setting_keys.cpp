#include "setting_keys.h"

#include <algorithm>
#include <cstdint>

#include "integer_text.h"
#include "model/responsive_widths.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

constexpr std::string_view kChecked = "checked";
constexpr std::string_view kNotChecked = "not checked";
constexpr std::string_view kNoColor = "no color";
constexpr std::string_view kDestFolderToken = "<%DestFolder%>";
constexpr std::string_view kThumbInfoToken = "<%ThumbInfo%>";
constexpr std::string_view kStretch = "stretch";
constexpr std::string_view kCrop = "crop";

using Styles = std::vector<std::string>;
using S = GallerySettings;

std::string flagText(bool on) {
    return std::string(on ? kChecked : kNotChecked);
}

// Colours are written as the signed 32-bit number they are read as, so every value read
// is written back the same.
std::string colorText(Color color) {
    return std::to_string(static_cast<std::int32_t>(color));
}

Color toColor(const std::string& value) {
    return static_cast<Color>(toInteger(value));
}

SettingKey text(std::string_view name, std::string S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return s.*member; },
            [=](S& s, const std::string& value, const Styles&) { s.*member = value; }};
}

SettingKey trimmedText(std::string_view name, std::string S::*member) {
    SettingKey key = text(name, member);
    key.write = [=](const S& s) { return trimBlanks(s.*member); };
    return key;
}

SettingKey integer(std::string_view name, std::string S::*member) {
    return {name,
            "0",
            {},
            [=](const S& s) { return s.*member; },
            [=](S& s, const std::string& value, const Styles&) {
                s.*member = std::to_string(toInteger(value));
            }};
}

SettingKey sizeText(std::string_view name, Switched<std::string> S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return (s.*member).on ? (s.*member).value : flagText(false); },
            [=](S& s, const std::string& value, const Styles&) {
                (s.*member).on = value != kNotChecked;
                if ((s.*member).on) {
                    (s.*member).value = value;
                }
            }};
}

// A flag that anything but "not checked" turns on.
SettingKey flag(std::string_view name, bool S::*member) {
    return {
        name,
        "",
        {},
        [=](const S& s) { return flagText(s.*member); },
        [=](S& s, const std::string& value, const Styles&) { s.*member = value != kNotChecked; }};
}

// A flag that is off in a file without the key.
SettingKey flagMissingOff(std::string_view name, bool S::*member) {
    SettingKey key = flag(name, member);
    key.missingValue = kNotChecked;
    return key;
}

// A flag that only "checked" turns on.
SettingKey strictFlag(std::string_view name, bool S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return flagText(s.*member); },
            [=](S& s, const std::string& value, const Styles&) { s.*member = value == kChecked; }};
}

SettingKey color(std::string_view name, Color S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return colorText(s.*member); },
            [=](S& s, const std::string& value, const Styles&) { s.*member = toColor(value); }};
}

SettingKey switchedColor(std::string_view name, Switched<Color> S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) {
                return (s.*member).on ? colorText((s.*member).value) : std::string(kNoColor);
            },
            [=](S& s, const std::string& value, const Styles&) {
                (s.*member).on = value != kNoColor;
                if ((s.*member).on) {
                    (s.*member).value = toColor(value);
                }
            }};
}

SettingKey folderChoice(std::string_view name, FolderChoice S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) {
                return (s.*member).useDestFolder ? std::string(kDestFolderToken) : (s.*member).name;
            },
            [=](S& s, const std::string& value, const Styles&) {
                (s.*member).useDestFolder = value == kDestFolderToken;
                if (!(s.*member).useDestFolder) {
                    (s.*member).name = value;
                }
            }};
}

// A number that picks an item of a three-item list. Other numbers leave the choice as it
// was: the settings have no value that means "no item chosen".
template <typename Enum>
SettingKey item(std::string_view name, Enum S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return std::to_string(static_cast<int>(s.*member)); },
            [=](S& s, const std::string& value, const Styles&) {
                const int number = toInteger(value);
                if (number >= 0 && number <= 2) {
                    s.*member = static_cast<Enum>(number);
                }
            }};
}

SettingKey responsiveWidths(std::string_view name, std::vector<int> S::*member) {
    return {name,
            "",
            {},
            [=](const S& s) { return responsiveWidthsText(s.*member); },
            [=](S& s, const std::string& value, const Styles&) {
                s.*member = parseResponsiveWidths(value);
            }};
}

SettingKey modernFormats(std::string_view name, ModernFormatChoice S::*member) {
    return {
        name,
        kModernFormatItems[0],
        {},
        [=](const S& s) { return std::string(kModernFormatItems[static_cast<int>(s.*member)]); },
        [=](S& s, const std::string& value, const Styles&) {
            for (std::size_t i = 0; i < kModernFormatItems.size(); ++i) {
                if (equalsIgnoringCase(trimBlanks(value), kModernFormatItems[i])) {
                    s.*member = static_cast<ModernFormatChoice>(i);
                    return;
                }
            }
            throw ProjectError("'" + value + "' is not one of none, WebP, AVIF and both");
        }};
}

SettingKey navText(std::string_view name, NavLinkSet S::*set, NavLinkKind kind,
                   std::string TNavLink::*part) {
    return {name,
            "",
            {},
            [=](const S& s) { return (s.*set)[kind].*part; },
            [=](S& s, const std::string& value, const Styles&) { (s.*set)[kind].*part = value; }};
}

SettingKey navHome(std::string_view name, NavLinkSet S::*set, std::string NavLinkSet::*part) {
    return {name,
            "",
            {},
            [=](const S& s) { return (s.*set).*part; },
            [=](S& s, const std::string& value, const Styles&) { (s.*set).*part = value; }};
}

SettingKey onlyIf(SettingKey key, std::function<bool(const S&)> condition) {
    key.present = std::move(condition);
    return key;
}

std::vector<SettingKey> makeSettingKeys() {
    const auto thumbBorder = [](const S& s) { return s.ThumbBorder; };
    const auto resizePic = [](const S& s) { return s.ResizePic; };
    const auto picBorder = [](const S& s) { return s.ResizePic && s.PicBorder; };
    const auto file = &TNavLink::file;
    const auto label = &TNavLink::text;
    using K = NavLinkKind;
    return {
        text("DestFolder", &S::DestFolder),
        item("Overwrite", &S::Overwrite),
        folderChoice("ThumbSub", &S::ThumbSub),
        folderChoice("PicSub", &S::PicSub),
        folderChoice("PageSub", &S::PageSub),
        {"Style",
         "",
         {},
         [](const S& s) { return s.Style; },
         [](S& s, const std::string& value, const Styles& styles) {
             if (std::find(styles.begin(), styles.end(), value) != styles.end()) {
                 s.Style = value;
             }
         }},
        integer("TopOffset", &S::TopOffset),
        integer("LeftOffset", &S::LeftOffset),
        sizeText("ThumbWidth", &S::ThumbWidth),
        sizeText("ThumbHeight", &S::ThumbHeight),
        {"ThumbStretch",
         "",
         {},
         [](const S& s) {
             return std::string(s.ThumbStretch == ThumbFit::Stretch ? kStretch : kCrop);
         },
         [](S& s, const std::string& value, const Styles&) {
             s.ThumbStretch = value == kStretch ? ThumbFit::Stretch : ThumbFit::Crop;
         }},
        trimmedText("ThumbPrefix", &S::ThumbPrefix),
        trimmedText("ThumbSuffix", &S::ThumbSuffix),
        flag("ThumbBorder", &S::ThumbBorder),
        onlyIf(text("ThumbBorderWidth", &S::ThumbBorderWidth), thumbBorder),
        onlyIf(color("ThumbBorderColor", &S::ThumbBorderColor), thumbBorder),
        flag("ResizePic", &S::ResizePic),
        onlyIf(sizeText("PicWidth", &S::PicWidth), resizePic),
        onlyIf(sizeText("PicHeight", &S::PicHeight), resizePic),
        onlyIf(flag("PicBorder", &S::PicBorder), resizePic),
        onlyIf(text("PicBorderWidth", &S::PicBorderWidth), picBorder),
        onlyIf(color("PicBorderColor", &S::PicBorderColor), picBorder),
        text("IdxFileName", &S::IdxFileName),
        item("IdxNavLink", &S::IdxNavLink),
        navText("IdxNavHomeFile", &S::IdxNav, K::Home, file),
        navText("IdxNavHomeText", &S::IdxNav, K::Home, label),
        navHome("IdxNavHomeTarget", &S::IdxNav, &NavLinkSet::homeTarget),
        navHome("IdxNavHomeURL", &S::IdxNav, &NavLinkSet::homeUrl),
        navText("IdxNavFirstFile", &S::IdxNav, K::First, file),
        navText("IdxNavFirstText", &S::IdxNav, K::First, label),
        navText("IdxNavPrevFile", &S::IdxNav, K::Previous, file),
        navText("IdxNavPrevText", &S::IdxNav, K::Previous, label),
        navText("IdxNavNextFile", &S::IdxNav, K::Next, file),
        navText("IdxNavNextText", &S::IdxNav, K::Next, label),
        navText("IdxNavLastFile", &S::IdxNav, K::Last, file),
        navText("IdxNavLastText", &S::IdxNav, K::Last, label),
        trimmedText("IdxPageBGPic", &S::IdxPageBGPic),
        switchedColor("IdxPageBGColor", &S::IdxPageBGColor),
        text("ThumbTableCol", &S::ThumbTableCol),
        text("ThumbTableRow", &S::ThumbTableRow),
        text("ThumbTableCellPad", &S::ThumbTableCellPad),
        text("ThumbTableCellSpace", &S::ThumbTableCellSpace),
        text("ThumbTableBorderWidth", &S::ThumbTableBorderWidth),
        color("ThumbTableBorderColor", &S::ThumbTableBorderColor),
        trimmedText("ThumbTableBGPic", &S::ThumbTableBGPic),
        switchedColor("ThumbTableBGColor", &S::ThumbTableBGColor),
        item("ThumbLink", &S::ThumbLink),
        item("PageNav", &S::PageNav),
        navText("PageNavHomeFile", &S::PageNavLinks, K::Home, file),
        navText("PageNavHomeText", &S::PageNavLinks, K::Home, label),
        navHome("PageNavHomeTarget", &S::PageNavLinks, &NavLinkSet::homeTarget),
        navHome("PageNavHomeURL", &S::PageNavLinks, &NavLinkSet::homeUrl),
        navText("PageNavIndexFile", &S::PageNavLinks, K::Index, file),
        navText("PageNavIndexText", &S::PageNavLinks, K::Index, label),
        navText("PageNavFirstFile", &S::PageNavLinks, K::First, file),
        navText("PageNavFirstText", &S::PageNavLinks, K::First, label),
        navText("PageNavPrevFile", &S::PageNavLinks, K::Previous, file),
        navText("PageNavPrevText", &S::PageNavLinks, K::Previous, label),
        navText("PageNavNextFile", &S::PageNavLinks, K::Next, file),
        navText("PageNavNextText", &S::PageNavLinks, K::Next, label),
        navText("PageNavLastFile", &S::PageNavLinks, K::Last, file),
        navText("PageNavLastText", &S::PageNavLinks, K::Last, label),
        trimmedText("PageBGPic", &S::PageBGPic),
        switchedColor("PageBGColor", &S::PageBGColor),
        text("PageTitle", &S::PageTitle),
        strictFlag("ThumbShowTitle", &S::ThumbShowTitle),
        strictFlag("ThumbShowSize", &S::ThumbShowSize),
        {"ThumbInfo",
         "",
         {},
         [](const S& s) {
             return s.ThumbInfoFromPicture ? std::string(kThumbInfoToken) : trimBlanks(s.ThumbALT);
         },
         [](S& s, const std::string& value, const Styles&) {
             s.ThumbInfoFromPicture = value == kThumbInfoToken;
             if (!s.ThumbInfoFromPicture) {
                 s.ThumbALT = value;
             }
         }},
        strictFlag("PicPageShowTitle", &S::PicPageShowTitle),
        strictFlag("PicPageShowIndex", &S::PicPageShowIndex),
        flag("SmoothScaling",
             &S::SmoothScaling), // a file without it was made before it existed: on
        strictFlag("AutoRotate", &S::AutoRotate), // a file without it: off
        // A file without it builds what it built before it existed: no double-size files.
        flagMissingOff("HiDpiThumbs", &S::HiDpiThumbs),
        // A file without it stretched its large pictures to the box.
        flagMissingOff("PicKeepRatio", &S::PicKeepRatio),
        flagMissingOff("WideGamut", &S::WideGamut),
        flagMissingOff("KeepOriginalJpeg", &S::KeepOriginalJpeg),
        responsiveWidths("ResponsiveWidths", &S::ResponsiveWidths),
        modernFormats("ModernFormats", &S::ModernFormats),
    };
}

} // namespace

const std::vector<SettingKey>& settingKeys() {
    static const std::vector<SettingKey> keys = makeSettingKeys();
    return keys;
}

const SettingKey* findSettingKey(std::string_view name) {
    for (const SettingKey& key : settingKeys()) {
        if (equalsIgnoringCase(key.name, name)) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace vellumar
