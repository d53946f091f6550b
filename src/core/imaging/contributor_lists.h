#pragma once

#include <span>
#include <vector>

#include "imaging/resample_filter.h"

namespace vellumar {

struct Contributor {
    int index = 0;  // source sample
    int weight = 0; // in 1/256 units, never 0
    bool operator==(const Contributor&) const = default;
};

// For every output sample of one resampling pass, the source samples it is made of and
// their integer weights, in the order of the filter's support from left to right. Built
// once per pass so the filter is never evaluated per pixel.
class ContributorLists {
public:
    // sourceLength and targetLength are at least 1; radius is the filter's support radius.
    ContributorLists(int sourceLength, int targetLength, ResampleFilter filter, float radius);

    int size() const { return static_cast<int>(m_totals.size()); }
    std::span<const Contributor> of(int sample) const {
        return {m_contributors.data() + m_starts[sample],
                m_contributors.data() + m_starts[sample + 1]};
    }
    // The sum of the sample's weights, what its weighted sum is divided by.
    int total(int sample) const { return m_totals[sample]; }

private:
    std::vector<Contributor> m_contributors;
    std::vector<std::size_t> m_starts; // size() + 1 entries
    std::vector<int> m_totals;
};

} // namespace vellumar
