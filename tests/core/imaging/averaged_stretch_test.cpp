#include <cmath>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/averaged_stretch.h"
#include "imaging/raster.h"
#include "support/area_average.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using testing::filledPicture;

// A picture of seeded noise: every pixel unrelated to its neighbours, the hardest case for
// rounding and the easiest for a misplaced weight to show.
Bitmap noise(int width, int height, std::uint32_t seed) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = picture.row(y);
        for (std::size_t i = 0; i < picture.stride(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            p[i] = static_cast<std::uint8_t>(seed >> 24);
        }
    }
    return picture;
}

// Black and white pixels in turn along both axes: detail finer than any reduction keeps.
Bitmap checkerboard(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x + y) % 2 == 0) {
                picture.setPixel(x, y, {255, 255, 255});
            }
        }
    }
    return picture;
}

// Each pixel is the reference mean rounded to the nearest value, for reductions by whole and
// by odd factors, enlargements, sides that shrink while the other grows, and spans wider
// than the source or than any fixed kernel.
TEST(StretchAveraged, EveryPixelIsTheNearestValueToTheAreaMean) {
    const struct {
        int sourceWidth, sourceHeight, width, height;
    } cases[] = {{40, 30, 10, 3},  {97, 61, 10, 7}, {64, 48, 63, 47}, {7, 5, 3, 2},
                 {13, 11, 29, 17}, {50, 9, 7, 20},  {300, 2, 100, 1}, {5, 5, 5, 5},
                 {5, 5, 1, 1},     {700, 3, 20, 1}};
    std::uint32_t seed = 7;
    for (const auto& c : cases) {
        const Bitmap source = noise(c.sourceWidth, c.sourceHeight, ++seed);
        const Bitmap averaged = stretchAveraged(source, c.width, c.height);
        ASSERT_EQ(averaged.width(), c.width);
        ASSERT_EQ(averaged.height(), c.height);
        const std::vector<double> reference = testing::areaAverage(source, c.width, c.height);
        std::size_t i = 0;
        for (int y = 0; y < c.height; ++y) {
            const std::uint8_t* p = averaged.row(y);
            for (int k = 0; k < c.width * 3; ++k, ++i) {
                ASSERT_LE(std::abs(p[k] - reference[i]), 0.51)
                    << c.sourceWidth << " x " << c.sourceHeight << " to " << c.width << " x "
                    << c.height << ", value " << k << " of row " << y;
            }
        }
    }
}

TEST(StretchAveraged, SameSizeAndUniformPicturesComeBackUnchanged) {
    const Bitmap source = noise(33, 21, 99);
    const Bitmap same = stretchAveraged(source, 33, 21);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            ASSERT_EQ(same.pixel(x, y), source.pixel(x, y)) << x << ", " << y;
        }
    }
    const Rgb colour{3, 128, 254};
    const Bitmap uniform = stretchAveraged(filledPicture(997, 601, colour), 100, 61);
    for (int y = 0; y < uniform.height(); ++y) {
        for (int x = 0; x < uniform.width(); ++x) {
            ASSERT_EQ(uniform.pixel(x, y), colour) << x << ", " << y;
        }
    }
}

// Where picking single pixels shows only black or only white, the average is the grey the
// eye sees.
TEST(StretchAveraged, DetailFinerThanTheTargetBlendsInsteadOfAliasing) {
    const Bitmap board = checkerboard(400, 300);
    const Bitmap picked = stretchUnblended(board, 100, 75);
    EXPECT_EQ(picked.pixel(10, 10), (Rgb{255, 255, 255})); // every fourth pixel: all white
    const Bitmap averaged = stretchAveraged(board, 100, 75);
    for (int y = 0; y < averaged.height(); ++y) {
        for (int x = 0; x < averaged.width(); ++x) {
            ASSERT_EQ(averaged.pixel(x, y), (Rgb{128, 128, 128})) << x << ", " << y;
        }
    }
}

// A row of 10 pixels decoded at a quarter is 3 pixels wide; the last stands for 2 pixels only
// and weighs accordingly.
TEST(StretchAveraged, AReducedDecodeIsMeasuredOnTheFullPicture) {
    Bitmap reduced(3, 1);
    reduced.setPixel(0, 0, {100, 0, 10});
    reduced.setPixel(1, 0, {200, 50, 20});
    reduced.setPixel(2, 0, {0, 250, 255});
    const Bitmap whole = stretchAveraged(reduced, {10, 1}, 4, 1, 1);
    EXPECT_EQ(whole.pixel(0, 0), (Rgb{120, 70, 63})); // (4a + 4b + 2c) / 10, 63.0 for blue
    const Bitmap halves = stretchAveraged(reduced, {10, 1}, 4, 2, 1);
    EXPECT_EQ(halves.pixel(0, 0), (Rgb{120, 10, 12}));   // (4a + b) / 5
    EXPECT_EQ(halves.pixel(1, 0), (Rgb{120, 130, 114})); // (3b + 2c) / 5
    // Without the reduction the last pixel would count as much as the others.
    EXPECT_EQ(stretchAveraged(reduced, 1, 1).pixel(0, 0), (Rgb{100, 100, 95}));
}

TEST(StretchAveraged, PaletteSourcesAndEmptySizes) {
    Bitmap palette = Bitmap::withPalette(4, 2, {{0, 0, 0}, {200, 100, 50}});
    palette.setPixel(2, 0, {200, 100, 50});
    palette.setPixel(3, 0, {200, 100, 50});
    palette.setPixel(2, 1, {200, 100, 50});
    palette.setPixel(3, 1, {200, 100, 50});
    const Bitmap halved = stretchAveraged(palette, 2, 1);
    EXPECT_EQ(halved.layout(), Bitmap::Layout::Rgb24);
    EXPECT_EQ(halved.pixel(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(halved.pixel(1, 0), (Rgb{200, 100, 50}));

    EXPECT_TRUE(stretchAveraged(palette, 0, 5).isEmpty());
    const Bitmap flat = stretchAveraged(palette, 5, 0);
    EXPECT_EQ(flat.width(), 5);
    EXPECT_TRUE(flat.isEmpty());
    EXPECT_EQ(stretchAveraged(Bitmap(), 3, 2).width(), 3);
}

} // namespace
} // namespace vellumar
