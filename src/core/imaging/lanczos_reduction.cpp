#include "lanczos_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/raster.h"
#include "imaging/resample_filter.h"

namespace vellumar {

namespace {

// A sample's weights add up to exactly 1 << kWeightBits; 14 bits keep every weight (at most
// one) and every weighted sum of 8-bit values inside 16 and 32 bits.
constexpr int kWeightBits = 14;
constexpr std::int32_t kHalf = 1 << (kWeightBits - 1);
constexpr double kLanczosRadius = 3;

// For every target sample along one axis, the run of source samples its window covers and
// their weights. Built once per axis, so the filter is never evaluated per pixel.
class SincWeights {
public:
    SincWeights(int sourceLength, double span, int targetLength) {
        const double scale = std::max(1.0, span / targetLength);
        const double support = kLanczosRadius * scale;
        m_firsts.reserve(static_cast<std::size_t>(targetLength));
        m_starts.reserve(static_cast<std::size_t>(targetLength) + 1);
        m_starts.push_back(0);
        std::vector<double> exact;
        for (int i = 0; i < targetLength; ++i) {
            const double centre = (i + 0.5) * span / targetLength;
            const int first = std::max(0, static_cast<int>(std::floor(centre - support + 0.5)));
            const int last =
                std::min(sourceLength, static_cast<int>(std::floor(centre + support + 0.5)));
            exact.clear();
            double total = 0;
            for (int j = first; j < last; ++j) {
                const auto argument = static_cast<float>((j + 0.5 - centre) / scale);
                exact.push_back(filterValue(ResampleFilter::Lanczos3, argument));
                total += exact.back();
            }
            append(first, exact, total);
        }
    }

    int size() const { return static_cast<int>(m_firsts.size()); }
    int first(int sample) const { return m_firsts[sample]; }
    int count(int sample) const {
        return static_cast<int>(m_starts[sample + 1] - m_starts[sample]);
    }
    const std::int16_t* weights(int sample) const { return m_weights.data() + m_starts[sample]; }

private:
    // Rounds the weights to integers that add up to exactly one, the rounding's remainder
    // going to the largest, so a plain area comes out exactly as it went in.
    void append(int first, const std::vector<double>& exact, double total) {
        const std::size_t start = m_weights.size();
        std::int32_t given = 0;
        for (const double weight : exact) {
            const auto rounded =
                static_cast<std::int32_t>(std::lround(weight / total * (1 << kWeightBits)));
            m_weights.push_back(static_cast<std::int16_t>(rounded));
            given += rounded;
        }
        const auto largest = std::max_element(
            m_weights.begin() + static_cast<std::ptrdiff_t>(start), m_weights.end());
        *largest = static_cast<std::int16_t>(*largest + (1 << kWeightBits) - given);
        m_firsts.push_back(first);
        m_starts.push_back(m_weights.size());
    }

    std::vector<int> m_firsts;
    std::vector<std::size_t> m_starts; // size() + 1 entries
    std::vector<std::int16_t> m_weights;
};

std::uint8_t toChannel(std::int32_t sum) {
    return static_cast<std::uint8_t>(std::clamp(sum >> kWeightBits, 0, 255));
}

// Reduces every row of source along its length into the rows of target (same height).
void reduceRows(const Bitmap& source, const SincWeights& columns, Bitmap& target) {
    for (int y = 0; y < source.height(); ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = target.row(y);
        for (int x = 0; x < columns.size(); ++x, out += 3) {
            const std::uint8_t* p = in + static_cast<std::size_t>(columns.first(x)) * 3;
            const std::int16_t* w = columns.weights(x);
            std::int32_t r = kHalf;
            std::int32_t g = kHalf;
            std::int32_t b = kHalf;
            for (const std::int16_t* end = w + columns.count(x); w < end; ++w, p += 3) {
                r += *w * p[0];
                g += *w * p[1];
                b += *w * p[2];
            }
            out[0] = toChannel(r);
            out[1] = toChannel(g);
            out[2] = toChannel(b);
        }
    }
}

// Reduces every column of source into the rows of target (same width), a whole row of sums
// at a time so that memory is read in order.
void reduceColumns(const Bitmap& source, const SincWeights& rows, Bitmap& target) {
    const std::size_t rowBytes = target.stride();
    std::vector<std::int32_t> sums(rowBytes);
    for (int y = 0; y < rows.size(); ++y) {
        std::fill(sums.begin(), sums.end(), kHalf);
        const std::int16_t* weights = rows.weights(y);
        for (int k = 0; k < rows.count(y); ++k) {
            const std::int32_t weight = weights[k];
            const std::uint8_t* in = source.row(rows.first(y) + k);
            for (std::size_t i = 0; i < rowBytes; ++i) {
                sums[i] += weight * in[i];
            }
        }
        std::uint8_t* out = target.row(y);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            out[i] = toChannel(sums[i]);
        }
    }
}

} // namespace

Bitmap reduceLanczos(const Bitmap& source, SampleSpan span, int width, int height) {
    if (width <= 0 || height <= 0 || source.isEmpty()) {
        return Bitmap(std::max(width, 0), std::max(height, 0));
    }
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    Bitmap rowsDone = Bitmap::uninitialized(width, rgb.height());
    reduceRows(rgb, SincWeights(rgb.width(), span.width, width), rowsDone);
    Bitmap target = Bitmap::uninitialized(width, height);
    reduceColumns(rowsDone, SincWeights(rgb.height(), span.height, height), target);
    return target;
}

} // namespace vellumar
