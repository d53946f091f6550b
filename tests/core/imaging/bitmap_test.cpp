#include <vector>

#include <gtest/gtest.h>

#include "imaging/bitmap.h"

namespace vellumar {
namespace {

// A palette picture using every index, one of them beyond its three colours.
Bitmap palettePicture(int width, int height) {
    Bitmap picture = Bitmap::withPalette(width, height, {{1, 2, 3}, {200, 100, 50}, {9, 8, 7}});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.row(y)[x] = static_cast<std::uint8_t>((x + 2 * y) % 4);
        }
    }
    return picture;
}

std::vector<Rgb> pixelsOf(const Bitmap& picture) {
    std::vector<Rgb> pixels;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            pixels.push_back(picture.pixel(x, y));
        }
    }
    return pixels;
}

TEST(ConvertToRgb24, PaletteColoursStayWhereTheyWere) {
    Bitmap picture = palettePicture(301, 7);
    const std::vector<Rgb> before = pixelsOf(picture);
    picture.convertToRgb24();
    EXPECT_EQ(picture.layout(), Bitmap::Layout::Rgb24);
    EXPECT_EQ(pixelsOf(picture), before);
    EXPECT_EQ(picture.pixel(3, 0), (Rgb{0, 0, 0})); // an index beyond the palette reads black
}

TEST(ConvertToRgb24, DecodedPaletteTakesNoSecondPicture) {
    Bitmap picture = palettePicture(40, 30);
    const std::uint8_t* pixels = picture.row(0);
    picture.convertToRgb24();
    EXPECT_EQ(picture.row(0), pixels);
}

TEST(ConvertToRgb24, ACopyWithoutRoomToGrowConvertsAsWell) {
    const Bitmap original = palettePicture(50, 9);
    Bitmap copy = original;
    copy.convertToRgb24();
    EXPECT_EQ(pixelsOf(copy), pixelsOf(original));
}

} // namespace
} // namespace vellumar
