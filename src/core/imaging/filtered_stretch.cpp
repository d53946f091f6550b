#include "filtered_stretch.h"

#include <cstdint>
#include <vector>

#include "imaging/contributor_lists.h"
#include "imaging/raster.h"

namespace vellumar {

namespace {

std::uint8_t channelValue(std::int32_t sum, int total) {
    // A sample whose weights cancel out keeps its raw sum in 1/256 units.
    const std::int32_t value =
        total != 0 ? sum / total : static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) >> 8);
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Resamples every row of source into the columns of target (same height).
void stretchRows(const Bitmap& source, const ContributorLists& lists, Bitmap& target) {
    std::vector<int> offsets; // contributor byte offsets within a row, list by list
    std::vector<int> weights;
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
            const int total = lists.total(i);
            out[0] = channelValue(r, total);
            out[1] = channelValue(g, total);
            out[2] = channelValue(b, total);
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
        const int total = lists.total(y);
        std::uint8_t* out = target.row(y);
        for (std::size_t k = 0; k < rowBytes; ++k) {
            out[k] = channelValue(sums[k], total);
        }
    }
}

} // namespace

void FilteredStretch(int newWidth, int newHeight, ResampleFilter filter, float radius,
                     const Bitmap& source, Bitmap& target) {
    if (radius == 0) {
        radius = defaultRadius(filter);
    }
    target.reset(newWidth, newHeight);
    if (source.isEmpty() || target.isEmpty()) {
        return;
    }
    const Rgb24View view(source);
    Bitmap rowsDone;
    rowsDone.reset(newWidth, source.height());
    stretchRows(view.bitmap(), ContributorLists(source.width(), newWidth, filter, radius),
                rowsDone);
    stretchColumns(rowsDone, ContributorLists(source.height(), newHeight, filter, radius), target);
}

} // namespace vellumar
