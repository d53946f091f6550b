#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vellumar {

// The spaces outputs are made in: sRGB, which every screen and browser assumes of an untagged
// picture, and Display P3 for wide-gamut pictures when the gallery asks for it.
enum class ColourSpace { Srgb, DisplayP3 };

// CIE xy chromaticities of a white point and three primaries.
struct Chromaticities {
    double whiteX = 0;
    double whiteY = 0;
    double redX = 0;
    double redY = 0;
    double greenX = 0;
    double greenY = 0;
    double blueX = 0;
    double blueY = 0;
    bool operator==(const Chromaticities&) const = default;
};

// How the colours of a picture file are to be understood, as its reader found them beside the
// pixels. Readers that know nothing of colour say sRGB.
struct ColourDescription {
    enum class Kind {
        Srgb,
        Icc,          // an embedded ICC profile: RGB, gray or CMYK
        Calibrated,   // RGB of a decoding gamma and, optionally, chromaticities of its own
        AdobeRgbExif, // no profile, but EXIF says Adobe RGB (InteropIndex "R03")
        Cicp,         // coded primaries and transfer (HEIF/AVIF nclx)
        PressCmyk,    // CMYK without a profile: taken as printed on a standard press
        Lab,          // CIE L*a*b* samples, relative to D50 as profiles' connection space is
    };

    Kind kind = Kind::Srgb;
    std::vector<std::uint8_t> icc;                // Icc
    double decodingGamma = 0;                     // Calibrated: linear = sample ^ decodingGamma
    std::optional<Chromaticities> chromaticities; // Calibrated: nothing keeps sRGB's
    int cicpPrimaries = 0;                        // Cicp, ITU-T H.273 codes
    int cicpTransfer = 0;

    static ColourDescription srgb() { return {}; }
    static ColourDescription iccProfile(std::vector<std::uint8_t> profile);
    // A gamma of 2.2 without chromaticities is how an untagged picture is shown anyway, close
    // enough to sRGB to be taken as sRGB.
    static ColourDescription calibrated(double decodingGamma,
                                        std::optional<Chromaticities> chromaticities);
    static ColourDescription adobeRgbFromExif();
    // sRGB's own codes (and the unspecified ones) describe sRGB.
    static ColourDescription cicp(int primaries, int transfer);
    static ColourDescription pressCmyk();
    static ColourDescription cieLab();

    bool isSrgb() const { return kind == Kind::Srgb; }
    bool operator==(const ColourDescription&) const = default;
};

// What a picture's colours were found to be, for people: "sRGB", "Display P3 (ICC)",
// "Adobe RGB (EXIF)", "CMYK (ICC: <profile description>)".
std::string colourName(const ColourDescription& description);

} // namespace vellumar
