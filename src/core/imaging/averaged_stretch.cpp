#include "averaged_stretch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/raster.h"

namespace vellumar {

namespace {

// A sample's weights add up to exactly 1 << kWeightBits.
constexpr int kWeightBits = 14;
// Rows averaged across each other keep 8 bits below the channel value for the second pass.
constexpr int kFractionBits = 8;
constexpr int kFirstShift = kWeightBits - kFractionBits;
constexpr int kSecondShift = kWeightBits + kFractionBits;

// For every target sample along one axis, the run of source samples its area covers and the
// share of each. Areas are measured on the full picture of fullLength samples, of which each
// source sample stands for `reduction` (the last one for what is left). Target sample i
// covers full positions [i * f / t, (i + 1) * f / t), so in units of 1 / t every overlap is
// an exact integer; the weights are rounded from their running sum, so each sample's weights
// add up to exactly one.
class AreaSpans {
public:
    AreaSpans(int fullLength, int reduction, int targetLength) {
        const std::int64_t f = fullLength;
        const std::int64_t t = targetLength;
        const std::int64_t unit = static_cast<std::int64_t>(reduction) * t; // a source sample
        m_firsts.reserve(static_cast<std::size_t>(targetLength));
        m_starts.reserve(static_cast<std::size_t>(targetLength) + 1);
        m_starts.push_back(0);
        for (std::int64_t i = 0; i < t; ++i) {
            const std::int64_t begin = i * f;
            const std::int64_t end = begin + f;
            const std::int64_t first = begin / unit;
            const std::int64_t last = (end + unit - 1) / unit; // one past the last covered
            std::int64_t covered = 0;
            std::int32_t given = 0;
            for (std::int64_t j = first; j < last; ++j) {
                covered += std::min((j + 1) * unit, end) - std::max(j * unit, begin);
                const auto share =
                    static_cast<std::int32_t>(((covered << kWeightBits) + f / 2) / f);
                m_weights.push_back(share - given);
                given = share;
            }
            m_firsts.push_back(static_cast<int>(first));
            m_starts.push_back(m_weights.size());
            m_widest = std::max(m_widest, static_cast<int>(last - first));
        }
    }

    int size() const { return static_cast<int>(m_firsts.size()); }
    int first(int sample) const { return m_firsts[sample]; }
    int count(int sample) const {
        return static_cast<int>(m_starts[sample + 1] - m_starts[sample]);
    }
    const std::int32_t* weights(int sample) const { return m_weights.data() + m_starts[sample]; }
    // The longest run any sample covers.
    int widest() const { return m_widest; }

private:
    std::vector<int> m_firsts;
    std::vector<std::size_t> m_starts; // size() + 1 entries
    std::vector<std::int32_t> m_weights;
    int m_widest = 0;
};

// The spans laid out for a kernel of a fixed number of taps: every sample reads `taps`
// source samples from its start, those outside its span weighted 0. Starts near the end move
// back so that no read passes the last source sample.
struct FixedTaps {
    FixedTaps(const AreaSpans& spans, int taps, int sourceLength) : taps(taps) {
        starts.reserve(static_cast<std::size_t>(spans.size()));
        weights.assign(static_cast<std::size_t>(spans.size()) * taps, 0);
        for (int sample = 0; sample < spans.size(); ++sample) {
            const int start = std::min(spans.first(sample), sourceLength - taps);
            std::copy_n(spans.weights(sample), spans.count(sample),
                        weights.begin() + static_cast<std::ptrdiff_t>(sample) * taps +
                            (spans.first(sample) - start));
            starts.push_back(start);
        }
    }

    int taps;
    std::vector<int> starts;
    std::vector<std::int32_t> weights; // taps per sample
};

constexpr std::uint32_t kSecondHalf = 1u << (kSecondShift - 1);

// Averages one row of values with kFractionBits below the channel value along its length,
// into 24-bit pixels. With Taps known, the compiler unrolls the kernel; Taps 0 takes them
// from the layout, for reductions steeper than any unrolled kernel. Each pixel is summed as
// four lanes, its three channels and the next pixel's first, so it reads one value past its
// last tap and writes one byte past its pixel: `in` and `out` have room for both.
template <int Taps>
void averageRow(const std::uint16_t* in, const FixedTaps& columns, std::uint8_t* out) {
    const int taps = Taps > 0 ? Taps : columns.taps;
    const std::int32_t* w = columns.weights.data();
#if defined(__SSE2__)
    const __m128i half = _mm_set1_epi32(static_cast<int>(kSecondHalf));
    for (const int start : columns.starts) {
        const std::uint16_t* p = in + static_cast<std::size_t>(start) * 3;
        __m128i sums = half;
        for (int k = 0; k < taps; ++k) {
            // Products of two 16-bit factors, put together from their low and high halves.
            const __m128i values = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 3 * k));
            const __m128i weight = _mm_set1_epi16(static_cast<short>(w[k]));
            const __m128i low = _mm_mullo_epi16(values, weight);
            const __m128i high = _mm_mulhi_epu16(values, weight);
            sums = _mm_add_epi32(sums, _mm_unpacklo_epi16(low, high));
        }
        w += taps;
        const __m128i shifted = _mm_srli_epi32(sums, kSecondShift);
        const __m128i words = _mm_packs_epi32(shifted, shifted);
        const auto bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out, &bytes, sizeof bytes);
        out += 3;
    }
#else
    for (const int start : columns.starts) {
        const std::uint16_t* p = in + static_cast<std::size_t>(start) * 3;
        std::uint32_t r = kSecondHalf;
        std::uint32_t g = kSecondHalf;
        std::uint32_t b = kSecondHalf;
        for (int k = 0; k < taps; ++k) {
            const auto weight = static_cast<std::uint32_t>(w[k]);
            r += weight * p[3 * k];
            g += weight * p[3 * k + 1];
            b += weight * p[3 * k + 2];
        }
        w += taps;
        out[0] = static_cast<std::uint8_t>(r >> kSecondShift);
        out[1] = static_cast<std::uint8_t>(g >> kSecondShift);
        out[2] = static_cast<std::uint8_t>(b >> kSecondShift);
        out += 3;
    }
#endif
}

// Adds a row's values times weight to sums. Told that the two never overlap, which a byte
// pointer cannot show, the compiler multiplies many values at once in 16 bits; inlined, it
// forgets what it was told.
[[gnu::noinline]] void addWeighted(const std::uint8_t* __restrict in, std::uint16_t weight,
                                   std::uint32_t* __restrict sums, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        sums[i] += std::uint32_t{weight} * std::uint32_t{in[i]};
    }
}

using RowKernel = void (*)(const std::uint16_t*, const FixedTaps&, std::uint8_t*);

struct UnrolledKernel {
    int taps;
    RowKernel kernel;
};

// Narrowest first: a reduction takes the first that holds its widest span.
constexpr UnrolledKernel kUnrolledKernels[] = {
    {1, &averageRow<1>}, {2, &averageRow<2>}, {3, &averageRow<3>},   {4, &averageRow<4>},
    {6, &averageRow<6>}, {8, &averageRow<8>}, {12, &averageRow<12>}, {16, &averageRow<16>}};

// Averages rows along their length with the narrowest unrolled kernel that holds every span
// and fits the source, or with the kernel whose length is the widest span.
class RowAverager {
public:
    RowAverager(const AreaSpans& columns, int sourceLength)
        : RowAverager(columns, sourceLength, unrolledFor(columns.widest(), sourceLength)) {}

    void operator()(const std::uint16_t* in, std::uint8_t* out) const {
        m_kernel(in, m_layout, out);
    }

private:
    RowAverager(const AreaSpans& columns, int sourceLength, const UnrolledKernel* unrolled)
        : m_layout(columns, unrolled ? unrolled->taps : columns.widest(), sourceLength),
          m_kernel(unrolled ? unrolled->kernel : &averageRow<0>) {}

    static const UnrolledKernel* unrolledFor(int widest, int sourceLength) {
        for (const UnrolledKernel& unrolled : kUnrolledKernels) {
            if (unrolled.taps >= widest && unrolled.taps <= sourceLength) {
                return &unrolled;
            }
        }
        return nullptr;
    }

    FixedTaps m_layout;
    RowKernel m_kernel;
};

} // namespace

Bitmap stretchAveraged(const Bitmap& source, int width, int height) {
    return stretchAveraged(source, {source.width(), source.height()}, 1, width, height);
}

Bitmap stretchAveraged(const Bitmap& source, PictureSize fullSize, int reduction, int width,
                       int height) {
    if (width <= 0 || height <= 0 || source.isEmpty()) {
        return Bitmap(std::max(width, 0), std::max(height, 0));
    }
    const Rgb24View view(source);
    const Bitmap& rgb = view.bitmap();
    const AreaSpans columns(fullSize.width, reduction, width);
    const AreaSpans rows(fullSize.height, reduction, height);
    const RowAverager averageRow(columns, rgb.width());

    // Each target row averages its run of source rows first, across the source's whole
    // width, and only then along its length: the second pass, which reads pixels at
    // scattered starts, runs on target rows alone, while the first reads every source row in
    // order, which the compiler vectorises.
    const std::size_t values = static_cast<std::size_t>(rgb.width()) * 3;
    std::vector<std::uint32_t> sums(values);
    std::vector<std::uint16_t> averagedRows(values + 1); // one value for the spare lane
    std::vector<std::uint8_t> targetRow(static_cast<std::size_t>(width) * 3 + 1);
    Bitmap target = Bitmap::uninitialized(width, height);
    for (int y = 0; y < height; ++y) {
        const int first = rows.first(y);
        const int count = rows.count(y);
        std::fill(sums.begin(), sums.end(), 1u << (kFirstShift - 1));
        const std::int32_t* weights = rows.weights(y);
        for (int k = 0; k < count; ++k) {
            addWeighted(rgb.row(first + k), static_cast<std::uint16_t>(weights[k]), sums.data(),
                        values);
        }
        for (std::size_t i = 0; i < values; ++i) {
            averagedRows[i] = static_cast<std::uint16_t>(sums[i] >> kFirstShift);
        }
        averageRow(averagedRows.data(), targetRow.data());
        std::copy_n(targetRow.data(), targetRow.size() - 1, target.row(y));
    }
    return target;
}

} // namespace vellumar
