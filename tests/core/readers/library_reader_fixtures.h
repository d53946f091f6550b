#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/bitmap.h"

namespace vellumar::testing {

inline std::string readerFixturePath(const std::string& relativePath) {
    return std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/" + relativePath;
}

inline std::vector<std::uint8_t> readFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "missing test file " << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readerFixture(const std::string& relativePath) {
    return readFileBytes(readerFixturePath(relativePath));
}

// The reference pictures are binary PPMs with a maximum value of 255, as the fixture
// script writes them.
inline Bitmap readPpm(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path);
    std::istringstream header(std::string(bytes.begin(), bytes.end()));
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    header >> magic >> width >> height >> maximum;
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(maximum, 255);
    const std::size_t pixelStart = static_cast<std::size_t>(header.tellg()) + 1;
    const std::size_t size = static_cast<std::size_t>(width) * height * 3;
    Bitmap bitmap(width, height);
    if (bytes.size() == pixelStart + size) {
        std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(pixelStart), bytes.end(),
                  bitmap.row(0));
    } else {
        ADD_FAILURE() << path << " is not a whole PPM";
    }
    return bitmap;
}

// Every pixel within `tolerance` on each channel; names the first one that is not.
inline ::testing::AssertionResult matchesPicture(const Bitmap& actual, const Bitmap& expected,
                                                 int tolerance = 0) {
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        return ::testing::AssertionFailure()
               << "size " << actual.width() << " x " << actual.height() << ", expected "
               << expected.width() << " x " << expected.height();
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const Rgb a = actual.pixel(x, y);
            const Rgb e = expected.pixel(x, y);
            const int difference =
                std::max({std::abs(a.r - e.r), std::abs(a.g - e.g), std::abs(a.b - e.b)});
            if (difference > tolerance) {
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << int(a.r) << "," << int(a.g)
                       << "," << int(a.b) << ", expected " << int(e.r) << "," << int(e.g) << ","
                       << int(e.b);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace vellumar::testing
