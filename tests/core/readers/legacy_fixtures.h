#pragma once

// The test pictures of the older formats in tests/data/readers/<format>/, made by
// scripts/fixtures/make_legacy_fixtures_1.py, and the checks every reader's tests share.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/picture_loader.h"
#include "project_error.h"
#include "readers/picture_reader.h"

namespace vellumar::testing {

// A picture and the reference (a binary PPM) that it must decode to, within `tolerance`
// on each component.
struct FixtureCase {
    std::string picture;
    std::string reference;
    int tolerance = 0;
};

inline void PrintTo(const FixtureCase& fixture, std::ostream* out) {
    *out << fixture.picture;
}

namespace detail {

struct Reference {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

inline Reference readPpm(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Reference reference;
    file >> magic >> reference.width >> reference.height >> maximum;
    file.get();
    reference.rgb.assign(std::istreambuf_iterator<char>(file), {});
    EXPECT_EQ(magic, "P6") << path;
    EXPECT_EQ(reference.rgb.size(), static_cast<std::size_t>(reference.width) *
                                        static_cast<std::size_t>(reference.height) * 3)
        << path;
    return reference;
}

} // namespace detail

inline std::string fixturePath(const std::string& format, const std::string& name) {
    return std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/" + format + "/" + name;
}

// Reads the picture through the format registry, as the program does, compares it with its
// reference, and checks that the header-only probe gives the same size.
inline void expectDecodesToReference(const std::string& format, const FixtureCase& fixture) {
    SCOPED_TRACE(fixture.picture);
    const std::string path = fixturePath(format, fixture.picture);
    const detail::Reference reference = detail::readPpm(fixturePath(format, fixture.reference));
    const Bitmap bitmap = readPictureFile(path);
    ASSERT_EQ(bitmap.width(), reference.width);
    ASSERT_EQ(bitmap.height(), reference.height);
    EXPECT_EQ(probePictureFile(path), (PictureSize{bitmap.width(), bitmap.height()}));

    int mismatches = 0;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            const Rgb got = bitmap.pixel(x, y);
            const std::uint8_t* want =
                &reference.rgb[(static_cast<std::size_t>(y) * reference.width + x) * 3];
            const bool close = std::abs(got.r - want[0]) <= fixture.tolerance &&
                               std::abs(got.g - want[1]) <= fixture.tolerance &&
                               std::abs(got.b - want[2]) <= fixture.tolerance;
            if (!close && ++mismatches <= 3) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << int(got.r) << " "
                              << int(got.g) << " " << int(got.b) << ", expected " << int(want[0])
                              << " " << int(want[1]) << " " << int(want[2]);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// A damaged picture and the reason it must be refused with.
struct DamagedCase {
    std::string picture;
    std::string reason;
};

// The picture is refused with a ProjectError that names the file and the reason.
inline void expectRefused(const std::string& format, const DamagedCase& damaged) {
    const std::string path = fixturePath(format, damaged.picture);
    try {
        readPictureFile(path);
        ADD_FAILURE() << damaged.picture << " was read";
    } catch (const ProjectError& error) {
        EXPECT_EQ(error.what(), "Cannot read picture " + path + ": " + damaged.reason);
    }
}

// The reader refuses input without a single byte.
inline void expectEmptyInputRefused(const PictureReader& reader) {
    const PictureSource empty{};
    EXPECT_FALSE(reader.sniff(empty.bytes));
    EXPECT_THROW(reader.probe(empty), ProjectError);
    EXPECT_THROW(reader.decode(empty), ProjectError);
}

} // namespace vellumar::testing
