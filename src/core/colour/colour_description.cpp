#include "colour_description.h"

#include <cmath>
#include <utility>

#include "colour/colour_conversion.h"
#include "colour/lcms_profile.h"

namespace vellumar {

namespace {

std::string iccName(const ColourDescription& description) {
    // A profile can open and still fail to convert, when tags it needs are cut off.
    const LcmsProfile profile = profileOf(description);
    if (!profile || !colourUsable(description)) {
        return "sRGB (its ICC profile is damaged)";
    }
    const std::string name = profileDescription(profile.get());
    switch (colourSpaceOf(profile.get())) {
    case cmsSigCmykData:
        return "CMYK (ICC: " + name + ")";
    case cmsSigGrayData:
        return "Gray (ICC: " + name + ")";
    case cmsSigLabData:
        return "Lab (ICC: " + name + ")";
    default:
        return (name.empty() ? std::string("RGB") : name) + " (ICC)";
    }
}

std::string cicpName(int primaries, int transfer) {
    std::string name;
    switch (primaries) {
    case 9:
        name = "BT.2020";
        break;
    case 12:
        name = "Display P3";
        break;
    default:
        name = "BT.709";
    }
    if (transfer != 13 && transfer != 2) {
        name += " with transfer " + std::to_string(transfer);
    }
    return name + " (nclx)";
}

// A gamma as people write it: 1.8, 2.2, 1.
std::string gammaText(double gamma) {
    const double rounded = std::round(gamma * 100) / 100;
    std::string text = std::to_string(rounded);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

} // namespace

ColourDescription ColourDescription::iccProfile(std::vector<std::uint8_t> profile) {
    ColourDescription description;
    description.kind = Kind::Icc;
    description.icc = std::move(profile);
    return description;
}

ColourDescription ColourDescription::calibrated(double decodingGamma,
                                                std::optional<Chromaticities> chromaticities) {
    if (!chromaticities && std::abs(decodingGamma - 2.2) < 0.01) {
        return srgb();
    }
    ColourDescription description;
    description.kind = Kind::Calibrated;
    description.decodingGamma = decodingGamma;
    description.chromaticities = chromaticities;
    return description;
}

ColourDescription ColourDescription::adobeRgbFromExif() {
    ColourDescription description;
    description.kind = Kind::AdobeRgbExif;
    return description;
}

ColourDescription ColourDescription::cicp(int primaries, int transfer) {
    const bool srgbPrimaries = primaries == 1 || primaries == 2;
    const bool srgbTransfer = transfer == 13 || transfer == 2;
    if (srgbPrimaries && srgbTransfer) {
        return srgb();
    }
    ColourDescription description;
    description.kind = Kind::Cicp;
    description.cicpPrimaries = primaries;
    description.cicpTransfer = transfer;
    return description;
}

ColourDescription ColourDescription::pressCmyk() {
    ColourDescription description;
    description.kind = Kind::PressCmyk;
    return description;
}

ColourDescription ColourDescription::cieLab() {
    ColourDescription description;
    description.kind = Kind::Lab;
    return description;
}

std::string colourName(const ColourDescription& description) {
    switch (description.kind) {
    case ColourDescription::Kind::Srgb:
        return "sRGB";
    case ColourDescription::Kind::Icc:
        return iccName(description);
    case ColourDescription::Kind::Calibrated:
        return "RGB of gamma " + gammaText(description.decodingGamma) +
               (description.chromaticities ? " with primaries of its own" : "");
    case ColourDescription::Kind::AdobeRgbExif:
        return "Adobe RGB (EXIF)";
    case ColourDescription::Kind::Cicp:
        return cicpName(description.cicpPrimaries, description.cicpTransfer);
    case ColourDescription::Kind::PressCmyk:
        return "CMYK (no profile: taken as a standard press)";
    case ColourDescription::Kind::Lab:
        return "CIELab";
    }
    return "sRGB";
}

} // namespace vellumar
