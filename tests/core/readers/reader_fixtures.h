#pragma once

// The test pictures of tests/data/readers/<format>/, made by the scripts in scripts/fixtures/,
// and the checks the readers' tests share. Reference pictures are binary PPMs with a maximum
// value of 255, as those scripts write them.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "imaging/bitmap.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "readers/picture_reader.h"
#include "readers/reader_table.h"
#include "support/file_contents.h"

namespace vellumar::testing {

inline std::string fixturePath(const std::string& format, const std::string& name) {
    return std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/" + format + "/" + name;
}

inline std::vector<std::uint8_t> fileBytes(const std::string& path) {
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << "missing test file " << path;
    return readFileBytes(path);
}

inline std::vector<std::uint8_t> fixtureBytes(const std::string& format, const std::string& name) {
    return fileBytes(fixturePath(format, name));
}

inline Bitmap readPpm(const std::string& path) {
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    std::istringstream header(std::string(bytes.begin(), bytes.end()));
    std::string magic;
    int width = 0;
    int height = 0;
    int maximum = 0;
    header >> magic >> width >> height >> maximum;
    EXPECT_EQ(magic, "P6") << path;
    EXPECT_EQ(maximum, 255) << path;
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

inline Bitmap referencePicture(const std::string& format, const std::string& name) {
    return readPpm(fixturePath(format, name));
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

// For drawings whose edges may fall either way: how many pixels differ at all, -1 when the
// sizes do.
inline int differingPixels(const Bitmap& actual, const Bitmap& expected) {
    if (actual.width() != expected.width() || actual.height() != expected.height()) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            count += actual.pixel(x, y) != expected.pixel(x, y);
        }
    }
    return count;
}

// Reads the picture the way the program does (by its file name through the registry) and
// checks that the header-only probe gives the decoded size.
inline Bitmap readFixture(const std::string& format, const std::string& name) {
    const std::string path = fixturePath(format, name);
    const Bitmap picture = readPictureFile(path, pictureFormats());
    EXPECT_EQ(probePictureFile(path, pictureFormats()),
              (PictureSize{picture.width(), picture.height()}))
        << name;
    return picture;
}

// Decodes with the reader alone, without the registry's choice or its error wrapping.
inline Bitmap decodeFixture(const PictureReader& reader, const std::string& format,
                            const std::string& name) {
    const std::vector<std::uint8_t> bytes = fixtureBytes(format, name);
    return reader.decode({bytes, name});
}

// The message the reader gives for the bytes, or "" when it reads them.
inline std::string decodeError(const PictureReader& reader, const std::vector<std::uint8_t>& data) {
    try {
        reader.decode({data, "damaged"});
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "";
}

// The reader refuses input without a single byte.
inline void expectEmptyInputRefused(const PictureReader& reader) {
    const PictureSource empty{};
    EXPECT_FALSE(reader.sniff(empty.bytes));
    EXPECT_THROW(reader.probe(empty), ProjectError);
    EXPECT_THROW(reader.decode(empty), ProjectError);
}

// A picture and the reference that it must decode to, within `tolerance` on each component.
struct FixtureCase {
    std::string format;
    std::string picture;
    std::string reference;
    int tolerance = 0;
};

inline void PrintTo(const FixtureCase& fixture, std::ostream* out) {
    *out << fixture.picture;
}

// The pictures of one format, for a ReferencePicture instantiation.
struct FormatCase {
    std::string picture;
    std::string reference;
    int tolerance = 0;
};

inline std::vector<FixtureCase> fixtureCases(const std::string& format,
                                             const std::vector<FormatCase>& cases) {
    std::vector<FixtureCase> result;
    for (const FormatCase& c : cases) {
        result.push_back({format, c.picture, c.reference, c.tolerance});
    }
    return result;
}

// Reads the picture through the registry, compares it with its reference, and checks that the
// header-only probe gives the same size.
inline void expectDecodesToReference(const FixtureCase& fixture) {
    SCOPED_TRACE(fixture.picture);
    EXPECT_TRUE(matchesPicture(readFixture(fixture.format, fixture.picture),
                               referencePicture(fixture.format, fixture.reference),
                               fixture.tolerance));
}

// One test for the pictures of every format: it stands in reference_picture_test.cpp, and each
// format's tests instantiate it with their pictures.
class ReferencePicture : public ::testing::TestWithParam<FixtureCase> {};

// A damaged picture and the reason it must be refused with.
struct DamagedCase {
    std::string picture;
    std::string reason;
};

// Each picture is refused with a ProjectError that names the file and starts its reason with
// the expected text (a truncated file also says where the data ran out).
inline void expectRefused(const std::string& format, const std::vector<DamagedCase>& damaged) {
    for (const DamagedCase& file : damaged) {
        const std::string path = fixturePath(format, file.picture);
        try {
            readPictureFile(path, pictureFormats());
            ADD_FAILURE() << file.picture << " was read";
        } catch (const ProjectError& error) {
            EXPECT_THAT(error.what(),
                        ::testing::StartsWith("Cannot read picture " + path + ": " + file.reason));
        }
    }
}

// The reader alone refuses each picture with a message that holds the reason somewhere.
inline void expectDecodeErrors(const PictureReader& reader, const std::string& format,
                               const std::vector<DamagedCase>& damaged) {
    for (const DamagedCase& file : damaged) {
        EXPECT_THAT(decodeError(reader, fixtureBytes(format, file.picture)),
                    ::testing::HasSubstr(file.reason))
            << file.picture;
    }
}

// The pictures of a folder whose good files have expected/<name>.ppm beside them; a file
// without one is damaged and must be refused.
inline std::vector<std::filesystem::path> readerFixtures(const std::string& format) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(fixturePath(format, ""))) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline std::optional<Bitmap> expectedPicture(const std::filesystem::path& fixture) {
    const auto path = fixture.parent_path() / "expected" / (fixture.filename().string() + ".ppm");
    if (!std::filesystem::exists(path)) {
        return std::nullopt;
    }
    return readPpm(path.string());
}

// Decodes every picture of the folder: good ones to their reference pixels, with the probe
// giving the same size; damaged ones to a ProjectError. Returns how many were good.
inline int checkReaderFixtures(const PictureReader& reader, const std::string& format) {
    int good = 0;
    for (const auto& path : readerFixtures(format)) {
        SCOPED_TRACE(path.filename().string());
        const std::vector<std::uint8_t> bytes = fileBytes(path.string());
        const PictureSource source{bytes, path.string()};
        if (const std::optional<Bitmap> expected = expectedPicture(path)) {
            ++good;
            const Bitmap decoded = reader.decode(source);
            EXPECT_TRUE(matchesPicture(decoded, *expected));
            EXPECT_EQ(reader.probe(source), (PictureSize{decoded.width(), decoded.height()}));
            EXPECT_TRUE(reader.sniff(bytes));
        } else {
            EXPECT_THROW(reader.decode(source), ProjectError);
        }
    }
    return good;
}

} // namespace vellumar::testing
