#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/averaged_stretch.h"
#include "imaging/lanczos_reduction.h"
#include "imaging/raster.h"
#include "imaging/smooth_reduction.h"
#include "support/lanczos_reference.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

constexpr double kMidGrey = 127.5;

// A grey zone plate: rings about the top-left corner whose frequency along each axis grows
// in proportion to the distance along it, from nothing there to the finest a picture holds
// (half a cycle a pixel) at the far end of its longer side. At (x, y) the pattern has
// x / reach and y / reach cycles a pixel across and down; every frequency a reduction must
// keep or remove is somewhere on it.
struct ZonePlate {
    ZonePlate(int width, int height)
        : reach(2.0 * std::max(width, height)), picture(Bitmap::uninitialized(width, height)) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* p = picture.row(y);
            for (int x = 0; x < width; ++x, p += 3) {
                const double r2 = (x + 0.5) * (x + 0.5) + (y + 0.5) * (y + 0.5);
                const double value = kMidGrey + kMidGrey * std::cos(std::numbers::pi * r2 / reach);
                p[0] = p[1] = p[2] = static_cast<std::uint8_t>(std::lround(value));
            }
        }
    }

    double reach;
    Bitmap picture;
};

// The root-mean-square departure from mid grey of a zone plate reduced by factor, where the
// plate is finer along one axis than `beyond` times the finest pattern the reduced picture
// holds: all of it aliasing or leakage, as a perfect reduction leaves flat grey there.
// Pixels within 3 of the reduced picture's edges are left out, where every filter's window
// is cut.
double departureBeyondNyquist(const Bitmap& reduced, const ZonePlate& plate, double factor,
                              double beyond) {
    const double nyquist = 0.5 / factor; // in cycles a source pixel
    double sum = 0;
    int count = 0;
    for (int y = 3; y < reduced.height() - 3; ++y) {
        for (int x = 3; x < reduced.width() - 3; ++x) {
            const double finest = std::max(x + 0.5, y + 0.5) * factor / plate.reach;
            if (finest >= beyond * nyquist) {
                const double departure = reduced.pixel(x, y).g - kMidGrey;
                sum += departure * departure;
                ++count;
            }
        }
    }
    EXPECT_GT(count, 100);
    return std::sqrt(sum / std::max(count, 1));
}

// Every reduction, whole-factor or not, with and without the averaging step and from a
// picture reduced while decoding (whose last column and row stand for part of a pixel),
// leaves at most 4 % of the plate's amplitude (5.1 levels, root mean square) where the plate
// is 1.5 times finer than the reduced picture holds; the Lanczos step alone leaves about
// 1 %, the averaging step before it up to 3 %. Picking single pixels, the check's
// counter-example, leaves full-contrast moire there (about 90 levels).
TEST(StretchSmoothly, AZonePlateIsReducedWithoutAliasing) {
    const struct {
        int fullWidth, fullHeight, reduction, width, height;
    } cases[] = {
        {960, 720, 1, 96, 72},    {960, 720, 1, 317, 238},   {960, 720, 1, 480, 360},
        {960, 720, 1, 600, 450},  {3843, 2881, 4, 600, 450}, {3843, 2881, 4, 100, 75},
        {3843, 2881, 8, 100, 75}, {720, 960, 1, 150, 200},
    };
    for (const auto& c : cases) {
        const ZonePlate plate((c.fullWidth + c.reduction - 1) / c.reduction,
                              (c.fullHeight + c.reduction - 1) / c.reduction);
        const Bitmap reduced = stretchSmoothly(plate.picture, {c.fullWidth, c.fullHeight},
                                               c.reduction, c.width, c.height);
        ASSERT_EQ(reduced.width(), c.width);
        ASSERT_EQ(reduced.height(), c.height);
        const double factor = static_cast<double>(c.fullWidth) / c.reduction / c.width;
        EXPECT_LE(departureBeyondNyquist(reduced, plate, factor, 1.5), 0.04 * kMidGrey)
            << c.fullWidth << " / " << c.reduction << " to " << c.width;
    }
    const ZonePlate plate(960, 720);
    EXPECT_GE(departureBeyondNyquist(stretchUnblended(plate.picture, 96, 72), plate, 10, 1.5),
              0.5 * kMidGrey);
}

// A grey wave across the picture, 100 levels either side of mid grey, of `period` source
// pixels.
Bitmap wave(int width, int height, double period) {
    Bitmap picture(width, height);
    for (int x = 0; x < width; ++x) {
        const double level = kMidGrey + 100 * std::sin(2 * std::numbers::pi * (x + 0.5) / period);
        const auto v = static_cast<std::uint8_t>(std::lround(level));
        for (int y = 0; y < height; ++y) {
            picture.setPixel(x, y, {v, v, v});
        }
    }
    return picture;
}

// How far a wave swings from mid grey along the middle row (from the root mean square, away
// from the edges): 100 for a wave kept whole.
double swing(const Bitmap& picture) {
    double sum = 0;
    int count = 0;
    for (int x = 4; x < picture.width() - 4; ++x) {
        const double departure = picture.pixel(x, picture.height() / 2).g - kMidGrey;
        sum += departure * departure;
        ++count;
    }
    return std::sqrt(2 * sum / count);
}

// What makes an edge look crisp is the detail just coarser than the finest the reduced
// picture holds. Waves at half and at 0.7 of that keep at least 96 % and 85 % of their
// contrast, where the area mean alone keeps about 90 % and 80 %, at every factor, with and
// without the averaging step.
TEST(StretchSmoothly, EdgesComeOutSharperThanAnAreaMean) {
    for (const int width : {100, 170, 240, 500, 600, 790}) {
        const int height = 90 * width / 1200;
        const double factor = 1200.0 / width;
        for (const auto& [share, kept] : {std::pair{0.5, 96.0}, std::pair{0.7, 85.0}}) {
            const Bitmap source = wave(1200, 90, 2 * factor / share);
            const double sharp = swing(stretchSmoothly(source, {1200, 90}, 1, width, height));
            const double averaged = swing(stretchAveraged(source, width, height));
            EXPECT_GE(sharp, kept) << width << " at " << share;
            EXPECT_GE(sharp, averaged + 5) << width << " at " << share;
        }
    }
}

// Grain in mid tones, where no result is clamped: every pixel.
Bitmap midToneNoise(int width, int height, std::uint32_t seed) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = picture.row(y);
        for (std::size_t i = 0; i < picture.stride(); ++i) {
            seed = seed * 1664525u + 1013904223u;
            p[i] = static_cast<std::uint8_t>(60 + (seed >> 24) * 136 / 256);
        }
    }
    return picture;
}

// The Lanczos step is the plain double-precision reduction rounded, 1.25 levels at most away
// (its rounding between the passes, carried by weights whose sizes add up to a little over
// one, and its last rounding), wherever the pixels are centred: whole spans, a span that
// ends inside the last sample, factors from one to above two, a side kept.
TEST(ReduceLanczos, EveryPixelIsWithinALevelOfTheExactReduction) {
    const struct {
        int sourceWidth, sourceHeight;
        double spanX, spanY;
        int width, height;
    } cases[] = {{200, 150, 200, 150, 100, 75},
                 {97, 61, 97, 61, 50, 31},
                 {301, 226, 300.75, 225.25, 240, 180},
                 {64, 48, 64, 48, 63, 47},
                 {50, 9, 50, 9, 7, 9},
                 {300, 2, 300, 2, 100, 1},
                 {7, 5, 7, 5, 1, 1}};
    std::uint32_t seed = 3;
    for (const auto& c : cases) {
        const Bitmap source = midToneNoise(c.sourceWidth, c.sourceHeight, ++seed);
        const Bitmap reduced = reduceLanczos(source, {c.spanX, c.spanY}, c.width, c.height);
        ASSERT_EQ(reduced.width(), c.width);
        ASSERT_EQ(reduced.height(), c.height);
        const std::vector<double> exact =
            testing::lanczosReference(source, c.spanX, c.spanY, c.width, c.height);
        std::size_t i = 0;
        for (int y = 0; y < c.height; ++y) {
            const std::uint8_t* p = reduced.row(y);
            for (int k = 0; k < c.width * 3; ++k, ++i) {
                ASSERT_LE(std::abs(p[k] - exact[i]), 1.25)
                    << c.sourceWidth << " x " << c.sourceHeight << " to " << c.width << " x "
                    << c.height << ", value " << k << " of row " << y;
            }
        }
    }
}

// Weights that add up to exactly one keep a plain colour exactly, up to the window's cut
// edges; sizes of 0 give an empty picture; anything but a reduction of both sides is the
// area mean itself, and so is a palette picture's reduction of its colours.
TEST(StretchSmoothly, PlainColoursSizesAndEnlargementsStayAsTheAreaMeanHasThem) {
    const Rgb colour{3, 128, 254};
    for (const int width : {1, 2, 97, 300, 599}) {
        const Bitmap reduced = stretchSmoothly(testing::filledPicture(600, 400, colour), {600, 400},
                                               1, width, std::max(1, width * 2 / 3));
        for (int y = 0; y < reduced.height(); ++y) {
            for (int x = 0; x < reduced.width(); ++x) {
                ASSERT_EQ(reduced.pixel(x, y), colour) << width << ": " << x << ", " << y;
            }
        }
    }
    // A span that claims more than the picture holds still blends only its own pixels.
    const Bitmap overreaching =
        reduceLanczos(testing::filledPicture(10, 8, colour), {40, 32}, 5, 4);
    for (int y = 0; y < overreaching.height(); ++y) {
        for (int x = 0; x < overreaching.width(); ++x) {
            ASSERT_EQ(overreaching.pixel(x, y), colour) << x << ", " << y;
        }
    }
    EXPECT_TRUE(stretchSmoothly(midToneNoise(40, 30, 1), {40, 30}, 1, 0, 20).isEmpty());
    EXPECT_TRUE(stretchSmoothly(midToneNoise(40, 30, 1), {40, 30}, 1, 20, 0).isEmpty());

    const Bitmap source = midToneNoise(40, 30, 5);
    for (const auto& [width, height] : {std::pair{80, 60}, std::pair{40, 30}, std::pair{50, 20}}) {
        const Bitmap smooth = stretchSmoothly(source, {40, 30}, 1, width, height);
        const Bitmap averaged = stretchAveraged(source, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(smooth.pixel(x, y), averaged.pixel(x, y)) << width << ": " << x;
            }
        }
    }

    Bitmap palette = Bitmap::withPalette(30, 20, {{10, 20, 30}, {200, 100, 50}});
    for (int x = 15; x < 30; ++x) {
        for (int y = 0; y < 20; ++y) {
            palette.setPixel(x, y, {200, 100, 50});
        }
    }
    Bitmap rgb = palette;
    rgb.convertToRgb24();
    const Bitmap fromPalette = stretchSmoothly(palette, {30, 20}, 1, 12, 8);
    const Bitmap fromRgb = stretchSmoothly(rgb, {30, 20}, 1, 12, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(fromPalette.pixel(x, y), fromRgb.pixel(x, y)) << x << ", " << y;
        }
    }
}

} // namespace
} // namespace vellumar
