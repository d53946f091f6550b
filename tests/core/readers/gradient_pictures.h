#pragma once

// Pictures for the tests that encode with a format's own library: smooth colours with a
// see-through band and clear and opaque corners, so that every alpha from clear to opaque
// turns up. Rows without padding.

#include <cstdint>
#include <vector>

namespace vellumar::testing {

inline std::vector<std::uint8_t> rgbaGradient(int width, int height) {
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rgba.push_back(static_cast<std::uint8_t>(x * 255 / width));
            rgba.push_back(static_cast<std::uint8_t>(y * 255 / height));
            rgba.push_back(static_cast<std::uint8_t>((x * 7 + y * 3) % 256));
            rgba.push_back(static_cast<std::uint8_t>((x + 2 * y) * 255 / (width + 2 * height)));
        }
    }
    return rgba;
}

// The same colours without their alpha.
inline std::vector<std::uint8_t> rgbGradient(int width, int height) {
    const std::vector<std::uint8_t> rgba = rgbaGradient(width, height);
    std::vector<std::uint8_t> rgb;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        rgb.insert(rgb.end(), rgba.begin() + i, rgba.begin() + i + 3);
    }
    return rgb;
}

} // namespace vellumar::testing
