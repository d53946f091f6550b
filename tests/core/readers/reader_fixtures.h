#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/bitmap.h"
#include "project_error.h"
#include "readers/picture_reader.h"

// The pictures of tests/data/readers/<format>/, made by
// scripts/fixtures/make_own_reader_fixtures.py. A picture with expected/<name>.ppm beside it
// must decode to exactly those pixels; one without is damaged and must be refused.
namespace vellumar::testing {

inline std::filesystem::path readerFixtureFolder(const std::string& format) {
    return std::filesystem::path(VELLUMAR_TEST_DATA_DIR) / "readers" / format;
}

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::filesystem::path> readerFixtures(const std::string& format) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(readerFixtureFolder(format))) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The expected pixels, written in the one fixed form "P6\n<w> <h>\n255\n" plus RGB bytes.
inline std::optional<Bitmap> expectedPicture(const std::filesystem::path& fixture) {
    const auto path = fixture.parent_path() / "expected" / (fixture.filename().string() + ".ppm");
    if (!std::filesystem::exists(path)) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    int width = 0;
    int height = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "P6\n%d %d\n255\n%n", &width, &height, &consumed) != 2 ||
        bytes.size() != static_cast<std::size_t>(consumed) + std::size_t(width) * height * 3) {
        ADD_FAILURE() << "malformed reference picture " << path;
        return std::nullopt;
    }
    Bitmap bitmap(width, height);
    std::copy(bytes.begin() + consumed, bytes.end(), bitmap.row(0));
    return bitmap;
}

inline void expectSamePixels(const Bitmap& got, const Bitmap& expected) {
    ASSERT_EQ(got.width(), expected.width());
    ASSERT_EQ(got.height(), expected.height());
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            const Rgb a = got.pixel(x, y);
            const Rgb b = expected.pixel(x, y);
            ASSERT_EQ(a, b) << "pixel (" << x << ", " << y << "): got " << int(a.r) << ','
                            << int(a.g) << ',' << int(a.b) << " expected " << int(b.r) << ','
                            << int(b.g) << ',' << int(b.b);
        }
    }
}

// Decodes every picture of the folder: good ones to their reference pixels, with the probe
// giving the same size; damaged ones to a ProjectError. Returns how many were good.
inline int checkReaderFixtures(const PictureReader& reader, const std::string& format) {
    int good = 0;
    for (const auto& path : readerFixtures(format)) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> bytes = fileBytes(path);
        const PictureSource source{bytes, path.string()};
        if (const std::optional<Bitmap> expected = expectedPicture(path)) {
            ++good;
            const Bitmap decoded = reader.decode(source);
            expectSamePixels(decoded, *expected);
            EXPECT_EQ(reader.probe(source), (PictureSize{decoded.width(), decoded.height()}));
            EXPECT_TRUE(reader.sniff(bytes));
        } else {
            EXPECT_THROW(reader.decode(source), ProjectError);
        }
    }
    return good;
}

// The error text a damaged picture gives.
inline std::string decodeError(const PictureReader& reader, const std::string& format,
                               const std::string& name) {
    const std::vector<std::uint8_t> bytes = fileBytes(readerFixtureFolder(format) / name);
    try {
        reader.decode({bytes, name});
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "(no error)";
}

inline Bitmap decodeFixture(const PictureReader& reader, const std::string& format,
                            const std::string& name) {
    const std::vector<std::uint8_t> bytes = fileBytes(readerFixtureFolder(format) / name);
    return reader.decode({bytes, name});
}

} // namespace vellumar::testing
