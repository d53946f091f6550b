#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar::testing {

// A Lanczos-3 reduction worked out the plain way in double precision, as the common imaging
// libraries define it: target pixel i along an axis is centred on (i + 0.5) * span / length
// source samples, the kernel is widened by span / length (never narrowed), the window is cut
// at the picture's edges and its weights divided by their sum. Rows first, then columns,
// nothing rounded or clamped in between. Three values a pixel, rows top to bottom, from a
// 24-bit source.
inline std::vector<double> lanczosReference(const Bitmap& source, double spanX, double spanY,
                                            int width, int height) {
    const auto lanczos = [](double x) {
        const auto sinc = [](double t) {
            return t == 0 ? 1.0 : std::sin(std::numbers::pi * t) / (std::numbers::pi * t);
        };
        return std::abs(x) < 3 ? sinc(x) * sinc(x / 3) : 0.0;
    };
    struct Window {
        int first = 0;
        std::vector<double> weights;
    };
    const auto windows = [&](int sourceLength, double span, int length) {
        const double scale = std::max(1.0, span / length);
        std::vector<Window> result;
        for (int i = 0; i < length; ++i) {
            const double centre = (i + 0.5) * span / length;
            const int first = std::max(0, static_cast<int>(std::floor(centre - 3 * scale + 0.5)));
            const int last =
                std::min(sourceLength, static_cast<int>(std::floor(centre + 3 * scale + 0.5)));
            Window window{first, {}};
            double total = 0;
            for (int j = first; j < last; ++j) {
                window.weights.push_back(lanczos((j + 0.5 - centre) / scale));
                total += window.weights.back();
            }
            for (double& weight : window.weights) {
                weight /= total;
            }
            result.push_back(std::move(window));
        }
        return result;
    };
    const std::vector<Window> columns = windows(source.width(), spanX, width);
    const std::vector<Window> rows = windows(source.height(), spanY, height);
    const auto rowValues = static_cast<std::size_t>(width) * 3;
    std::vector<double> across(rowValues * static_cast<std::size_t>(source.height()));
    for (int y = 0; y < source.height(); ++y) {
        const std::uint8_t* row = source.row(y);
        for (int x = 0; x < width; ++x) {
            double* out = &across[y * rowValues + static_cast<std::size_t>(x) * 3];
            const std::uint8_t* p = row + static_cast<std::size_t>(columns[x].first) * 3;
            for (const double weight : columns[x].weights) {
                for (int c = 0; c < 3; ++c) {
                    out[c] += weight * *p++;
                }
            }
        }
    }
    std::vector<double> result(rowValues * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (std::size_t k = 0; k < rows[y].weights.size(); ++k) {
            const double* in = &across[(rows[y].first + k) * rowValues];
            for (std::size_t i = 0; i < rowValues; ++i) {
                result[y * rowValues + i] += rows[y].weights[k] * in[i];
            }
        }
    }
    return result;
}

inline std::vector<double> lanczosReference(const Bitmap& source, int width, int height) {
    return lanczosReference(source, source.width(), source.height(), width, height);
}

} // namespace vellumar::testing
