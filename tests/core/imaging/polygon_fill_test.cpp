#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/polygon_fill.h"

namespace vellumar {
namespace {

constexpr Rgb kInk{10, 20, 30};

Ring rectangle(double left, double top, double right, double bottom, bool clockwise = true) {
    Ring ring{{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    if (!clockwise) {
        std::swap(ring[1], ring[3]);
    }
    return ring;
}

// One character a pixel: '#' painted, '.' left alone.
std::string painted(const Bitmap& bitmap) {
    std::string rows;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            rows += bitmap.pixel(x, y) == kInk ? '#' : '.';
        }
        rows += '\n';
    }
    return rows;
}

TEST(PolygonFill, PaintsThePixelsWhoseCentresLieInsideAndClipsAtTheEdges) {
    Bitmap bitmap(5, 4);
    fillPolygon(bitmap, {rectangle(0.6, 0.4, 2.6, 2.4)}, FillRule::EvenOdd, kInk);
    EXPECT_EQ(painted(bitmap), ".##..\n"
                               ".##..\n"
                               ".....\n"
                               ".....\n");
    Bitmap onTheCentres(3, 1); // a centre on the right or bottom edge is outside
    fillPolygon(onTheCentres, {rectangle(0.5, 0.5, 2.5, 1.5)}, FillRule::EvenOdd, kInk);
    EXPECT_EQ(painted(onTheCentres), "##.\n");
    Bitmap clipped(3, 2);
    fillPolygon(clipped, {rectangle(-1e9, -5, 1.6, 1e9)}, FillRule::NonZero, kInk);
    EXPECT_EQ(painted(clipped), "##.\n"
                                "##.\n");
}

TEST(PolygonFill, HolesFollowTheFillRule) {
    const Ring outer = rectangle(0, 0, 5, 5);
    for (const bool sameWay : {true, false}) {
        const std::vector<Ring> rings{outer, rectangle(1, 1, 4, 4, sameWay)};
        Bitmap evenOdd(5, 5);
        fillPolygon(evenOdd, rings, FillRule::EvenOdd, kInk);
        Bitmap nonZero(5, 5);
        fillPolygon(nonZero, rings, FillRule::NonZero, kInk);
        EXPECT_EQ(painted(evenOdd), "#####\n#...#\n#...#\n#...#\n#####\n");
        // An inner ring wound the same way adds to the winding instead of cancelling it.
        EXPECT_EQ(painted(nonZero), sameWay ? "#####\n#####\n#####\n#####\n#####\n"
                                            : "#####\n#...#\n#...#\n#...#\n#####\n");
    }
}

TEST(PolygonFill, CountsItsWorkAndStopsOnceItPassesTheLimit) {
    Bitmap bitmap(10, 10);
    const std::uint64_t whole =
        fillPolygon(bitmap, {rectangle(0, 0, 10, 10)}, FillRule::EvenOdd, kInk);
    EXPECT_EQ(whole, 10u * (1 + 2 + 10)); // a row: itself, two crossings, ten pixels

    Bitmap limited(10, 10);
    fillPolygon(limited, {rectangle(0, 0, 10, 10)}, FillRule::EvenOdd, kInk, 30);
    EXPECT_EQ(painted(limited).substr(0, 33), "##########\n##########\n##########\n");
    EXPECT_EQ(limited.pixel(0, 3), (Rgb{0, 0, 0}));
}

TEST(PolygonFill, PassesOverOutlinesThatEncloseNothingOrHoldNoNumbers) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Bitmap bitmap = Bitmap::withPalette(4, 4, {{1, 2, 3}});
    const std::vector<Ring> nothing{
        {}, {{1, 1}}, {{0, 1}, {4, 1}}, {{0, 0}, {inf, 2}, {1, 3}}, {{nan, 0}, {2, 4}, {0, 4}}};
    fillPolygon(bitmap, nothing, FillRule::NonZero, kInk);
    EXPECT_EQ(bitmap.layout(), Bitmap::Layout::Rgb24);
    EXPECT_EQ(painted(bitmap), "....\n....\n....\n....\n");

    // An edge so nearly flat that its slope overflows, starting exactly on a pixel centre.
    Bitmap flat(4, 2);
    const Ring sliver{{-1e300, 0.5}, {1e300, std::nextafter(0.5, 1.0)}, {0, 2}};
    fillPolygon(flat, {sliver}, FillRule::EvenOdd, kInk);
    EXPECT_EQ(painted(flat), "....\n####\n");
}

} // namespace
} // namespace vellumar
