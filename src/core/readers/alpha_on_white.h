#pragma once

#include <cstdint>

namespace vellumar {

// A colour sample with straight (not premultiplied) alpha, seen on a white background.
inline std::uint8_t overWhite(int value, int alpha) {
    return static_cast<std::uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

} // namespace vellumar
