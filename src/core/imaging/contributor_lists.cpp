#include "contributor_lists.h"

#include <algorithm>
#include <cmath>

namespace vellumar {

namespace {

// Both ends of the line map onto both ends of the source, so the first and last output
// samples fall exactly on the first and last source samples.
float scaleFactor(int sourceLength, int targetLength) {
    if (sourceLength == 1 || targetLength == 1) {
        return static_cast<float>(static_cast<double>(targetLength) / sourceLength);
    }
    return static_cast<float>(static_cast<double>(targetLength - 1) / (sourceLength - 1));
}

// The weights are single-precision filter values scaled to 1/256 units; the product is
// exact in double, and nearbyint rounds a half to the even neighbour.
int weightOf(float filterResult, double factor) {
    return static_cast<int>(std::nearbyint(static_cast<double>(filterResult) * factor * 256.0));
}

// Positions before the line mirror around the first sample without repeating it (-1 reads
// 1); positions past it mirror around the end repeating the last sample (n reads n - 1).
// The clamp keeps wide filters on very short lines inside the line.
int mirroredIndex(long long j, int length) {
    long long index = j;
    if (j < 0) {
        index = -j;
    } else if (j >= length) {
        index = 2LL * length - 1 - j;
    }
    return static_cast<int>(std::clamp<long long>(index, 0, length - 1));
}

} // namespace

ContributorLists::ContributorLists(int sourceLength, int targetLength, ResampleFilter filter,
                                   float radius) {
    m_starts.reserve(static_cast<std::size_t>(targetLength) + 1);
    m_totals.reserve(static_cast<std::size_t>(targetLength));
    m_starts.push_back(0);
    const float scale = scaleFactor(sourceLength, targetLength);
    const bool reducing = scale < 1.0f;
    // A reduction widens the filter by 1 / scale and flattens it by scale.
    const float width = reducing ? radius / scale : radius;
    const double argumentScale = reducing ? scale : 1.0;
    const double weightScale = reducing ? scale : 1.0;
    for (int i = 0; i < targetLength; ++i) {
        const float centre = static_cast<float>(i / static_cast<double>(scale));
        const auto first = static_cast<long long>(std::floor(static_cast<double>(centre) - width));
        const auto last = static_cast<long long>(std::ceil(static_cast<double>(centre) + width));
        int total = 0;
        for (long long j = first; j <= last; ++j) {
            const auto argument =
                static_cast<float>((static_cast<double>(centre) - j) * argumentScale);
            const int weight = weightOf(filterValue(filter, argument), weightScale);
            if (weight != 0) {
                m_contributors.push_back({mirroredIndex(j, sourceLength), weight});
                total += weight;
            }
        }
        m_starts.push_back(m_contributors.size());
        m_totals.push_back(total);
    }
}

} // namespace vellumar
