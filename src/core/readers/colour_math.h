#pragma once

#include <cstdint>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar {

// Colour arithmetic the readers of the older formats share: readers hand back opaque
// pictures, so transparency is blended onto white here.

// One 8-bit channel value laid over white with the given coverage (255 = opaque).
inline std::uint8_t overWhite(unsigned value, unsigned alpha) {
    return static_cast<std::uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

inline Rgb overWhite(Rgb colour, unsigned alpha) {
    return {overWhite(colour.r, alpha), overWhite(colour.g, alpha), overWhite(colour.b, alpha)};
}

// One 16-bit channel value laid over white with the given coverage (65535 = opaque).
inline std::uint16_t overWhite16(std::uint32_t value, std::uint32_t alpha) {
    return static_cast<std::uint16_t>(
        (static_cast<std::uint64_t>(value) * alpha + 65535ull * (65535 - alpha) + 32767) / 65535);
}

// Widens a component of the given bit count (1..16) to 0..65535, rounding to nearest.
inline std::uint16_t scaleToWord(std::uint32_t value, unsigned bits) {
    const std::uint32_t maximum = (1u << bits) - 1;
    return static_cast<std::uint16_t>((static_cast<std::uint64_t>(value) * 65535 + maximum / 2) /
                                      maximum);
}

// Widens a component of the given bit count (1..16) to 0..255, rounding to nearest.
inline std::uint8_t scaleToByte(unsigned value, unsigned bits) {
    const unsigned maximum = (1u << bits) - 1;
    return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
}

// The 256 grays from black to white, for pictures that come without a palette.
inline std::vector<Rgb> grayRamp() {
    std::vector<Rgb> ramp(256);
    for (unsigned i = 0; i < ramp.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        ramp[i] = {v, v, v};
    }
    return ramp;
}

} // namespace vellumar
