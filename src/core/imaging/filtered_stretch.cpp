#include "filtered_stretch.h"

#include <bit>
#include <cstdint>
#include <vector>

#include "imaging/contributor_lists.h"
#include "imaging/raster.h"

namespace vellumar {

namespace {

// Turns one sample's channel sums into channel values: the sum divided by the sample's
// weight total (truncating), or for a total of 0 the raw sum in 1/256 units; then clamped to
// 0..255. The division is done as a multiplication and a shift, which gives exactly the
// truncated quotient for every sum below 2^31 and keeps divisions out of the inner loops.
class ChannelDivider {
public:
    explicit ChannelDivider(int total) : m_total(total) {
        if (total > 0) {
            m_shift = 31 + std::bit_width(static_cast<unsigned>(total));
            m_multiplier = (std::uint64_t{1} << m_shift) / static_cast<unsigned>(total) + 1;
        }
    }

    std::uint8_t operator()(std::int32_t sum) const {
        if (m_total > 0) { // a negative sum gives a quotient of 0 or less, clamped to 0
            return sum <= 0 ? 0
                            : clamp((static_cast<std::uint64_t>(sum) * m_multiplier) >> m_shift);
        }
        if (m_total < 0) {
            return clamp(sum / m_total);
        }
        return clamp(static_cast<std::uint32_t>(sum) >> 8);
    }

private:
    template <typename Integer>
    static std::uint8_t clamp(Integer value) {
        return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }

    int m_total;
    std::uint64_t m_multiplier = 0;
    int m_shift = 0;
};

std::vector<ChannelDivider> dividersFor(const ContributorLists& lists) {
    std::vector<ChannelDivider> dividers;
    dividers.reserve(static_cast<std::size_t>(lists.size()));
    for (int i = 0; i < lists.size(); ++i) {
        dividers.emplace_back(lists.total(i));
    }
    return dividers;
}

// Resamples every row of source into the columns of target (same height).
void stretchRows(const Bitmap& source, const ContributorLists& lists, Bitmap& target) {
    std::vector<int> offsets; // contributor byte offsets within a row, list by list
    std::vector<int> weights;
    const std::vector<ChannelDivider> dividers = dividersFor(lists);
    for (int i = 0; i < lists.size(); ++i) {
        for (const Contributor& c : lists.of(i)) {
            offsets.push_back(c.index * 3);
            weights.push_back(c.weight);
        }
    }
    for (int y = 0; y < source.height(); ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* out = target.row(y);
        std::size_t k = 0;
        for (int i = 0; i < lists.size(); ++i, out += 3) {
            std::int32_t r = 0;
            std::int32_t g = 0;
            std::int32_t b = 0;
            for (const std::size_t end = k + lists.of(i).size(); k < end; ++k) {
                const std::uint8_t* p = in + offsets[k];
                r += weights[k] * p[0];
                g += weights[k] * p[1];
                b += weights[k] * p[2];
            }
            out[0] = dividers[i](r);
            out[1] = dividers[i](g);
            out[2] = dividers[i](b);
        }
    }
}

// Resamples every column of source into the rows of target (same width). Whole rows are
// accumulated at once, which gives the same integer sums as walking column by column but
// reads memory in order.
void stretchColumns(const Bitmap& source, const ContributorLists& lists, Bitmap& target) {
    const std::size_t rowBytes = target.stride();
    std::vector<std::int32_t> sums(rowBytes);
    for (int y = 0; y < lists.size(); ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (const Contributor& c : lists.of(y)) {
            const std::uint8_t* in = source.row(c.index);
            for (std::size_t k = 0; k < rowBytes; ++k) {
                sums[k] += c.weight * in[k];
            }
        }
        const ChannelDivider divide(lists.total(y));
        std::uint8_t* out = target.row(y);
        for (std::size_t k = 0; k < rowBytes; ++k) {
            out[k] = divide(sums[k]);
        }
    }
}

} // namespace

Bitmap FilteredStretch(int newWidth, int newHeight, ResampleFilter filter, float radius,
                       const Bitmap& source) {
    if (radius == 0) {
        radius = defaultRadius(filter);
    }
    Bitmap target;
    target.reset(newWidth, newHeight);
    if (source.isEmpty() || target.isEmpty()) {
        return target;
    }
    const Rgb24View view(source);
    Bitmap rowsDone;
    rowsDone.reset(newWidth, source.height());
    stretchRows(view.bitmap(), ContributorLists(source.width(), newWidth, filter, radius),
                rowsDone);
    stretchColumns(rowsDone, ContributorLists(source.height(), newHeight, filter, radius), target);
    return target;
}

} // namespace vellumar
