#include "lanczos_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
            // Never an empty window, even for a span longer than the source.
            const int first = std::clamp(static_cast<int>(std::floor(centre - support + 0.5)), 0,
                                         sourceLength - 1);
            const int last = std::clamp(static_cast<int>(std::floor(centre + support + 0.5)),
                                        first + 1, sourceLength);
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

// Pixels blended at a time: three whole vectors of bytes, and a run whose portable loops the
// compiler turns into vector instructions (16 measured fastest; 8 are not vectorised, 32
// keep too many sums).
constexpr int kRunPixels = 16;

// Blends the `pixels` pixels from `offset` on (in bytes) of the window's rows into out. The
// portable form, for the last pixels of a row and for processors without SSE2.
template <int pixels>
void blendRun(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
              std::size_t offset, std::uint8_t* out) {
    constexpr int kBytes = pixels * 3;
    std::int32_t sums[kBytes];
    std::fill(sums, sums + kBytes, kHalf);
    // Four rows at a time, which cuts the trips of the sums through memory; 16-bit factors
    // with a 32-bit product, which vector units multiply directly.
    int k = 0;
    for (; k + 3 < count; k += 4) {
        const std::int16_t w0 = weights[k];
        const std::int16_t w1 = weights[k + 1];
        const std::int16_t w2 = weights[k + 2];
        const std::int16_t w3 = weights[k + 3];
        const std::uint8_t* in0 = rows[k] + offset;
        const std::uint8_t* in1 = rows[k + 1] + offset;
        const std::uint8_t* in2 = rows[k + 2] + offset;
        const std::uint8_t* in3 = rows[k + 3] + offset;
        for (int i = 0; i < kBytes; ++i) {
            sums[i] +=
                w0 * static_cast<std::int16_t>(in0[i]) + w1 * static_cast<std::int16_t>(in1[i]) +
                w2 * static_cast<std::int16_t>(in2[i]) + w3 * static_cast<std::int16_t>(in3[i]);
        }
    }
    for (; k < count; ++k) {
        const std::int16_t weight = weights[k];
        const std::uint8_t* in = rows[k] + offset;
        for (int i = 0; i < kBytes; ++i) {
            sums[i] += weight * static_cast<std::int16_t>(in[i]);
        }
    }
    for (int i = 0; i < kBytes; ++i) {
        out[i] = toChannel(sums[i]);
    }
}

#if defined(__SSE2__)
// The same for a run of 16 pixels, with the multiply-add that vector units have for pairs of
// 16-bit values: two rows at a time, interleaved, each pair of products summed into 32 bits,
// with the sums kept in registers 16 bytes at a time.
template <>
void blendRun<kRunPixels>(const std::uint8_t* const* rows, const std::int16_t* weights, int count,
                          std::size_t offset, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    for (std::size_t chunk = 0; chunk < kRunPixels * 3; chunk += 16) {
        __m128i sums[4];
        for (__m128i& sum : sums) {
            sum = _mm_set1_epi32(kHalf);
        }
        for (int k = 0; k < count; k += 2) {
            const bool pair = k + 1 < count;
            const auto first = static_cast<std::uint16_t>(weights[k]);
            const auto second = static_cast<std::uint16_t>(pair ? weights[k + 1] : 0);
            const __m128i both =
                _mm_set1_epi32(static_cast<int>(first | (std::uint32_t{second} << 16)));
            const __m128i a =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + offset + chunk));
            const __m128i b = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(
                                         rows[k + 1] + offset + chunk))
                                   : zero;
            const __m128i aLow = _mm_unpacklo_epi8(a, zero);
            const __m128i aHigh = _mm_unpackhi_epi8(a, zero);
            const __m128i bLow = _mm_unpacklo_epi8(b, zero);
            const __m128i bHigh = _mm_unpackhi_epi8(b, zero);
            sums[0] = _mm_add_epi32(sums[0], _mm_madd_epi16(_mm_unpacklo_epi16(aLow, bLow), both));
            sums[1] = _mm_add_epi32(sums[1], _mm_madd_epi16(_mm_unpackhi_epi16(aLow, bLow), both));
            sums[2] =
                _mm_add_epi32(sums[2], _mm_madd_epi16(_mm_unpacklo_epi16(aHigh, bHigh), both));
            sums[3] =
                _mm_add_epi32(sums[3], _mm_madd_epi16(_mm_unpackhi_epi16(aHigh, bHigh), both));
        }
        // Down by the weights' bits, then packed with saturation, which clamps to 0..255.
        const __m128i low = _mm_packs_epi32(_mm_srai_epi32(sums[0], kWeightBits),
                                            _mm_srai_epi32(sums[1], kWeightBits));
        const __m128i high = _mm_packs_epi32(_mm_srai_epi32(sums[2], kWeightBits),
                                             _mm_srai_epi32(sums[3], kWeightBits));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + chunk), _mm_packus_epi16(low, high));
    }
}
#endif

// Reduces every column of source and hands the result over turned about its diagonal:
// target pixel (y, x) is the reduced pixel (x, y). Each reduced row blends the source rows
// in its window a run of pixels at a time, so memory is read in order and the work is done
// on many channel values at once; turning the result lets the second pass reduce the rows
// the same way, as columns, and turn the picture back.
Bitmap reduceColumnsTurned(const Bitmap& source, const SincWeights& rows) {
    Bitmap target = Bitmap::uninitialized(rows.size(), source.width());
    std::vector<const std::uint8_t*> window;
    std::uint8_t run[kRunPixels * 3];
    for (int y = 0; y < rows.size(); ++y) {
        window.clear();
        for (int k = 0; k < rows.count(y); ++k) {
            window.push_back(source.row(rows.first(y) + k));
        }
        // Reduced pixel x of this row goes down column y of the target.
        std::uint8_t* out = target.row(0) + static_cast<std::size_t>(y) * 3;
        const std::size_t down = target.stride();
        int x = 0;
        for (; x + kRunPixels <= source.width(); x += kRunPixels) {
            blendRun<kRunPixels>(window.data(), rows.weights(y), rows.count(y),
                                 static_cast<std::size_t>(x) * 3, run);
            for (const std::uint8_t* pixel = run; pixel < run + sizeof run; pixel += 3) {
                std::memcpy(out, pixel, 3);
                out += down;
            }
        }
        for (; x < source.width(); ++x) {
            blendRun<1>(window.data(), rows.weights(y), rows.count(y),
                        static_cast<std::size_t>(x) * 3, run);
            std::memcpy(out, run, 3);
            out += down;
        }
    }
    return target;
}

} // namespace

Bitmap reduceLanczos(const Bitmap& source, SampleSpan span, int width, int height) {
    if (width <= 0 || height <= 0 || source.isEmpty()) {
        return Bitmap(std::max(width, 0), std::max(height, 0));
    }
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    // Columns first, which leaves fewer rows to reduce along.
    const Bitmap turned = reduceColumnsTurned(rgb, SincWeights(rgb.height(), span.height, height));
    return reduceColumnsTurned(turned, SincWeights(rgb.width(), span.width, width));
}

} // namespace vellumar
