#pragma once

// The test pictures of the Photo-CD, Paint Shop Pro, Alias/Wavefront, EPS and metafile
// readers in tests/data/readers/<format>/, made by
// scripts/fixtures/make_legacy_fixtures_2.py, and the checks their tests share.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/bitmap.h"
#include "imaging/picture_loader.h"
#include "project_error.h"
#include "readers/picture_reader.h"

namespace vellumar::testing::legacy_formats {

inline std::string path(const std::string& format, const std::string& name) {
    return std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/" + format + "/" + name;
}

inline std::vector<std::uint8_t> bytes(const std::string& format, const std::string& name) {
    std::ifstream file(path(format, name), std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A binary PPM reference picture as a bitmap.
inline Bitmap reference(const std::string& format, const std::string& name) {
    std::ifstream file(path(format, name), std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    file >> magic >> width >> height >> maximum;
    file.get();
    EXPECT_EQ(magic, "P6") << name;
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        file.read(reinterpret_cast<char*>(picture.row(y)),
                  static_cast<std::streamsize>(picture.stride()));
    }
    EXPECT_TRUE(file) << name << " is shorter than its size";
    return picture;
}

// Pixels whose components differ by more than the tolerance; -1 when the sizes differ.
inline int differences(const Bitmap& got, const Bitmap& want, int tolerance = 0) {
    if (got.width() != want.width() || got.height() != want.height()) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            const Rgb a = got.pixel(x, y);
            const Rgb b = want.pixel(x, y);
            if (std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance ||
                std::abs(a.b - b.b) > tolerance) {
                ++count;
            }
        }
    }
    return count;
}

// Reads the picture the way the program does (by its file name through the registry),
// checks that the probe gives the decoded size, and returns the picture.
inline Bitmap readFixture(const std::string& format, const std::string& name) {
    const Bitmap picture = readPictureFile(path(format, name));
    EXPECT_EQ(probePictureFile(path(format, name)),
              (PictureSize{picture.width(), picture.height()}))
        << name;
    return picture;
}

// The message a reader gives for the bytes, or "" when it reads them.
inline std::string decodeError(const PictureReader& reader, const std::vector<std::uint8_t>& data) {
    try {
        reader.decode({data, "damaged"});
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "";
}

} // namespace vellumar::testing::legacy_formats
