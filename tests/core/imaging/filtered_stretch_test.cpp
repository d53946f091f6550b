#include <vector>

#include <gtest/gtest.h>

#include "imaging/contributor_lists.h"
#include "imaging/filtered_stretch.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using testing::filledPicture;
using testing::markedPicture;

Bitmap rowOf(const std::vector<Rgb>& pixels) {
    Bitmap row(static_cast<int>(pixels.size()), 1);
    for (int x = 0; x < row.width(); ++x) {
        row.setPixel(x, 0, pixels[x]);
    }
    return row;
}

Bitmap stretched(const Bitmap& source, int width, int height,
                 ResampleFilter filter = ResampleFilter::Triangle) {
    return FilteredStretch(width, height, filter, 0, source);
}

// Per channel: the weighted sum divided by the total, truncated.
Rgb blend(const std::vector<std::pair<int, Rgb>>& parts, int total) {
    int r = 0, g = 0, b = 0;
    for (const auto& [weight, colour] : parts) {
        r += weight * colour.r;
        g += weight * colour.g;
        b += weight * colour.b;
    }
    return {static_cast<std::uint8_t>(r / total), static_cast<std::uint8_t>(g / total),
            static_cast<std::uint8_t>(b / total)};
}

const Rgb p0{10, 200, 0};
const Rgb p1{250, 0, 128};
const Rgb p2{33, 66, 99};
const Rgb p3{7, 255, 180};

TEST(FilteredStretch, EnlargingInterpolatesBetweenNeighbours) {
    const ContributorLists lists(2, 4, ResampleFilter::Triangle, 1.0f);
    EXPECT_EQ(std::vector<Contributor>(lists.of(1).begin(), lists.of(1).end()),
              (std::vector<Contributor>{{0, 171}, {1, 85}}));

    const Bitmap row = stretched(rowOf({p0, p1}), 4, 1);
    EXPECT_EQ(row.pixel(0, 0), p0);
    EXPECT_EQ(row.pixel(1, 0), blend({{171, p0}, {85, p1}}, 256));
    EXPECT_EQ(row.pixel(2, 0), blend({{85, p0}, {171, p1}}, 256));
    EXPECT_EQ(row.pixel(3, 0), p1);
}

TEST(FilteredStretch, ReducingAveragesWithMirroredEdges) {
    const ContributorLists lists(4, 2, ResampleFilter::Triangle, 1.0f);
    EXPECT_EQ(std::vector<Contributor>(lists.of(0).begin(), lists.of(0).end()),
              (std::vector<Contributor>{{2, 28}, {1, 57}, {0, 85}, {1, 57}, {2, 28}}));
    EXPECT_EQ(std::vector<Contributor>(lists.of(1).begin(), lists.of(1).end()),
              (std::vector<Contributor>{{1, 28}, {2, 57}, {3, 85}, {3, 57}, {2, 28}}));
    EXPECT_EQ(lists.total(0), 255);
    EXPECT_EQ(lists.total(1), 255);

    const Bitmap row = stretched(rowOf({p0, p1, p2, p3}), 2, 1);
    EXPECT_EQ(row.pixel(0, 0), blend({{56, p2}, {114, p1}, {85, p0}}, 255));
    EXPECT_EQ(row.pixel(1, 0), blend({{28, p1}, {85, p2}, {142, p3}}, 255));
}

TEST(FilteredStretch, SingleColumnTakesATentAcrossTheRow) {
    const ContributorLists lists(5, 1, ResampleFilter::Triangle, 1.0f);
    EXPECT_EQ(
        std::vector<Contributor>(lists.of(0).begin(), lists.of(0).end()),
        (std::vector<Contributor>{
            {4, 10}, {3, 20}, {2, 31}, {1, 41}, {0, 51}, {1, 41}, {2, 31}, {3, 20}, {4, 10}}));
}

TEST(FilteredStretch, ColumnsAreResampledFromTheTruncatedRowResults) {
    Bitmap source(2, 2);
    source.setPixel(0, 0, p0);
    source.setPixel(1, 0, p1);
    source.setPixel(0, 1, p2);
    source.setPixel(1, 1, p3);
    const Bitmap target = stretched(source, 4, 4);
    const Rgb top = blend({{171, p0}, {85, p1}}, 256);
    const Rgb bottom = blend({{171, p2}, {85, p3}}, 256);
    EXPECT_EQ(target.pixel(1, 2), blend({{85, top}, {171, bottom}}, 256));
    EXPECT_EQ(target.pixel(3, 3), p3);
}

TEST(FilteredStretch, SameSizeAndSinglePixelSourcesAreReproduced) {
    const Bitmap source = markedPicture(7, 5);
    const Bitmap same = stretched(source, 7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(same.pixel(x, y), source.pixel(x, y));
        }
    }
    for (int filter = 0; filter <= static_cast<int>(ResampleFilter::Mitchell); ++filter) {
        const Bitmap grown =
            stretched(filledPicture(1, 1, p3), 5, 3, static_cast<ResampleFilter>(filter));
        ASSERT_EQ(grown.width(), 5);
        ASSERT_EQ(grown.height(), 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(grown.pixel(x, y), p3) << "filter " << filter;
            }
        }
    }
}

TEST(FilteredStretch, WideFiltersStayInsideShortLines) {
    for (int filter = 0; filter <= static_cast<int>(ResampleFilter::Mitchell); ++filter) {
        const auto kind = static_cast<ResampleFilter>(filter);
        for (const int length : {1, 2, 3}) {
            for (const int target : {1, 2, 9}) {
                const ContributorLists lists(length, target, kind, defaultRadius(kind));
                for (int i = 0; i < lists.size(); ++i) {
                    for (const Contributor& c : lists.of(i)) {
                        ASSERT_GE(c.index, 0);
                        ASSERT_LT(c.index, length);
                    }
                }
            }
        }
    }
}

TEST(FilteredStretch, OvershootIsClampedNotWrapped) {
    const Rgb dark{0, 0, 0};
    const Rgb light{255, 255, 255};
    const Bitmap row = stretched(rowOf({dark, dark, dark, dark, light, light, light, light}), 15, 1,
                                 ResampleFilter::Lanczos3);
    EXPECT_EQ(row.pixel(5, 0), dark);  // the sum is negative there
    EXPECT_EQ(row.pixel(9, 0), light); // and above 255 here
}

TEST(FilteredStretch, BoxFilterPicksTheNearestSample) {
    const Bitmap row = stretched(rowOf({p0, p1}), 4, 1, ResampleFilter::Box);
    EXPECT_EQ(row.pixel(1, 0), p0);
    EXPECT_EQ(row.pixel(2, 0), p1);
}

TEST(FilteredStretch, ZeroSizeLeavesAnEmptyTarget) {
    const Bitmap target = FilteredStretch(0, 4, ResampleFilter::Triangle, 0, markedPicture(5, 5));
    EXPECT_TRUE(target.isEmpty());
    EXPECT_EQ(target.height(), 4);
}

TEST(FilteredStretch, PaletteSourceReadsAsItsColours) {
    const Bitmap palette = Bitmap::withPalette(3, 3, {p2});
    const Bitmap target = stretched(palette, 6, 2);
    EXPECT_EQ(target.pixel(5, 1), p2);
    EXPECT_EQ(palette.layout(), Bitmap::Layout::Palette8);
}

} // namespace
} // namespace vellumar
