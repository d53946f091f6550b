#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar::testing {

// What an area-averaging reduction should give, worked out the plain way in double
// precision: every target pixel is the mean of the source rectangle it covers, each source
// pixel weighted by the part of it inside. Three values a pixel, rows top to bottom.
inline std::vector<double> areaAverage(const Bitmap& source, int width, int height) {
    const double scaleX = static_cast<double>(source.width()) / width;
    const double scaleY = static_cast<double>(source.height()) / height;
    std::vector<double> result;
    result.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const double top = y * scaleY;
        const double bottom = (y + 1) * scaleY;
        for (int x = 0; x < width; ++x) {
            const double left = x * scaleX;
            const double right = (x + 1) * scaleX;
            std::array<double, 3> sum{};
            for (int sy = static_cast<int>(top); sy < std::ceil(bottom); ++sy) {
                const double high = std::min<double>(sy + 1, bottom) - std::max<double>(sy, top);
                for (int sx = static_cast<int>(left); sx < std::ceil(right); ++sx) {
                    const double part =
                        high * (std::min<double>(sx + 1, right) - std::max<double>(sx, left));
                    const Rgb p = source.pixel(sx, sy);
                    sum[0] += part * p.r;
                    sum[1] += part * p.g;
                    sum[2] += part * p.b;
                }
            }
            for (const double channel : sum) {
                result.push_back(channel / (scaleX * scaleY));
            }
        }
    }
    return result;
}

// The mean absolute difference of each channel between a picture and the reference values.
inline std::array<double, 3> meanDifference(const Bitmap& picture,
                                            const std::vector<double>& reference) {
    std::array<double, 3> total{};
    std::size_t i = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb p = picture.pixel(x, y);
            total[0] += std::abs(p.r - reference[i++]);
            total[1] += std::abs(p.g - reference[i++]);
            total[2] += std::abs(p.b - reference[i++]);
        }
    }
    const double pixels = static_cast<double>(picture.width()) * picture.height();
    for (double& channel : total) {
        channel /= pixels;
    }
    return total;
}

} // namespace vellumar::testing
