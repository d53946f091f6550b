#include "lcms_profile.h"

#include <array>
#include <cmath>

namespace vellumar {

namespace {

constexpr Chromaticities kSrgbPrimaries{0.3127, 0.3290, 0.64, 0.33, 0.30, 0.60, 0.15, 0.06};
constexpr Chromaticities kDisplayP3Primaries{0.3127, 0.3290, 0.680, 0.320,
                                             0.265,  0.690,  0.150, 0.060};
constexpr Chromaticities kAdobeRgbPrimaries{0.3127, 0.3290, 0.64, 0.33, 0.21, 0.71, 0.15, 0.06};
constexpr Chromaticities kBt2020Primaries{0.3127, 0.3290, 0.708, 0.292, 0.170, 0.797, 0.131, 0.046};
// Adobe RGB's curve is a plain power of 563/256.
constexpr double kAdobeRgbGamma = 563.0 / 256.0;

struct ToneCurveFree {
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};
using ToneCurve = std::unique_ptr<cmsToneCurve, ToneCurveFree>;

// The sRGB curve: linear below a small knee, a 2.4 power above it (IEC 61966-2-1).
ToneCurve srgbCurve() {
    const std::array<double, 5> parameters{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return ToneCurve(cmsBuildParametricToneCurve(nullptr, 4, parameters.data()));
}

// The curve of ITU-R BT.709 and BT.2020 cameras, read back as its inverse.
ToneCurve bt709Curve() {
    const std::array<double, 5> parameters{1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
    return ToneCurve(cmsBuildParametricToneCurve(nullptr, 4, parameters.data()));
}

ToneCurve gammaCurve(double gamma) {
    return ToneCurve(cmsBuildGamma(nullptr, gamma));
}

LcmsProfile rgbProfile(const Chromaticities& c, const ToneCurve& curve, const char* description) {
    if (!curve) {
        return nullptr;
    }
    const cmsCIExyY white{c.whiteX, c.whiteY, 1.0};
    const cmsCIExyYTRIPLE primaries{
        {c.redX, c.redY, 1.0}, {c.greenX, c.greenY, 1.0}, {c.blueX, c.blueY, 1.0}};
    std::array<cmsToneCurve*, 3> curves{curve.get(), curve.get(), curve.get()};
    LcmsProfile profile(cmsCreateRGBProfile(&white, &primaries, curves.data()));
    if (profile) {
        cmsMLU* text = cmsMLUalloc(nullptr, 1);
        cmsMLUsetASCII(text, "en", "US", description);
        cmsWriteTag(profile.get(), cmsSigProfileDescriptionTag, text);
        cmsMLUfree(text);
    }
    return profile;
}

// Chromaticities that make a profile: positive, with a white point that is not black.
bool plausible(const Chromaticities& c) {
    const std::array<double, 8> values{c.whiteX, c.whiteY, c.redX,  c.redY,
                                       c.greenX, c.greenY, c.blueX, c.blueY};
    for (const double value : values) {
        if (!std::isfinite(value) || value <= 0 || value >= 1) {
            return false;
        }
    }
    return true;
}

LcmsProfile calibratedProfile(const ColourDescription& description) {
    const Chromaticities primaries = description.chromaticities.value_or(kSrgbPrimaries);
    if (!plausible(primaries) || !(description.decodingGamma > 0.05) ||
        !(description.decodingGamma < 20)) {
        return nullptr;
    }
    return rgbProfile(primaries, gammaCurve(description.decodingGamma), "Calibrated RGB");
}

// The codes of ITU-T H.273 that pictures use; others are not known here.
LcmsProfile cicpProfile(int primariesCode, int transferCode) {
    Chromaticities primaries;
    switch (primariesCode) {
    case 1:
    case 2:
        primaries = kSrgbPrimaries;
        break;
    case 9:
        primaries = kBt2020Primaries;
        break;
    case 12:
        primaries = kDisplayP3Primaries;
        break;
    default:
        return nullptr;
    }
    ToneCurve curve;
    switch (transferCode) {
    case 2:
    case 13:
        curve = srgbCurve();
        break;
    case 1:
    case 6:
    case 14:
    case 15:
        curve = bt709Curve();
        break;
    case 4:
        curve = gammaCurve(2.2);
        break;
    case 5:
        curve = gammaCurve(2.8);
        break;
    case 8:
        curve = gammaCurve(1.0);
        break;
    default:
        return nullptr;
    }
    return rgbProfile(primaries, curve, "Coded primaries");
}

LcmsProfile pressCmykProfile() {
    return LcmsProfile(cmsOpenProfileFromFile(kPressCmykProfile, "r"));
}

} // namespace

LcmsProfile profileOf(const ColourDescription& description) {
    using Kind = ColourDescription::Kind;
    switch (description.kind) {
    case Kind::Srgb:
        return profileOf(ColourSpace::Srgb);
    case Kind::Icc:
        return LcmsProfile(cmsOpenProfileFromMem(
            description.icc.data(), static_cast<cmsUInt32Number>(description.icc.size())));
    case Kind::Calibrated:
        return calibratedProfile(description);
    case Kind::AdobeRgbExif:
        return rgbProfile(kAdobeRgbPrimaries, gammaCurve(kAdobeRgbGamma), "Adobe RGB");
    case Kind::Cicp:
        return cicpProfile(description.cicpPrimaries, description.cicpTransfer);
    case Kind::PressCmyk:
        return pressCmykProfile();
    case Kind::Lab:
        return LcmsProfile(cmsCreateLab4Profile(nullptr));
    }
    return nullptr;
}

LcmsProfile profileOf(ColourSpace space) {
    if (space == ColourSpace::DisplayP3) {
        return rgbProfile(kDisplayP3Primaries, srgbCurve(), "Display P3");
    }
    return LcmsProfile(cmsCreate_sRGBProfile());
}

cmsUInt32Number colourSpaceOf(cmsHPROFILE profile) {
    return static_cast<cmsUInt32Number>(cmsGetColorSpace(profile));
}

std::string profileDescription(cmsHPROFILE profile) {
    std::array<char, 256> text{};
    const cmsUInt32Number length =
        cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", text.data(), text.size());
    return length == 0 ? std::string() : std::string(text.data());
}

} // namespace vellumar
