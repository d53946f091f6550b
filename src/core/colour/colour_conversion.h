#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "colour/colour_description.h"
#include "imaging/bitmap.h"

namespace vellumar {

// Raised whenever a change to the colour handling alters what outputs look like, so that
// outputs of earlier builds are made again.
inline constexpr int kColourVersion = 5;

// The samples a reader hands to a conversion.
enum class SampleLayout {
    Rgb8,           // 3 bytes a pixel, R G B; a gray picture as R = G = B
    Rgb16,          // 3 native 16-bit words a pixel
    Cmyk8,          // 4 bytes a pixel, 255 is full ink
    InvertedCmyk8,  // 4 bytes a pixel, 0 is full ink, as Adobe applications store it
    InvertedCmyk16, // 4 native 16-bit words a pixel, 0 is full ink
    Lab16,          // 3 native 16-bit words a pixel: L* 0 to 100 as 0 to 65535, a* and b*
                    // -128 to 127 as 0 to 65535 (0 is 0x8080)
};

struct ColourTransform;

// Turns samples of a picture's colours into 8-bit RGB of an output space, relative
// colorimetric with black-point compensation. Each distinct profile (with layout and space)
// gets one Little CMS transform, made the first time it is asked for and shared by every
// thread from then on.
class ColourConverter {
public:
    // Nothing when the description cannot be used with these samples: a damaged profile, or
    // one of another kind of colour (a CMYK profile for RGB samples).
    static std::optional<ColourConverter> make(const ColourDescription& description,
                                               SampleLayout layout, ColourSpace space);
    // Converts pixels samples from in to out (3 bytes a pixel); for Rgb8 both may be the
    // same buffer.
    void convert(const void* in, std::uint8_t* out, std::size_t pixels) const;

private:
    explicit ColourConverter(std::shared_ptr<const ColourTransform> transform)
        : m_transform(std::move(transform)) {}
    std::shared_ptr<const ColourTransform> m_transform;
};

// Whether the description can be used for the samples of its own kind of colour; a damaged
// profile cannot, and its picture is shown as sRGB.
bool colourUsable(const ColourDescription& description);

// The space a picture is shown in: Display P3 when wideGamut asks for it and the picture's
// colours reach beyond sRGB, sRGB otherwise.
ColourSpace outputSpaceFor(const ColourDescription& description, bool wideGamut);

// Converts the bitmap's pixels from the description's colours into the space, in place (a
// palette bitmap becomes 24-bit first). Leaves them as they are and returns false when the
// description cannot be used.
bool convertColours(Bitmap& bitmap, const ColourDescription& description, ColourSpace space);

// The compact ICC profile that outputs in the space carry: made by Little CMS once, a few
// hundred bytes; empty for sRGB, whose outputs stay untagged.
const std::vector<std::uint8_t>& embeddedProfileOf(ColourSpace space);

} // namespace vellumar
