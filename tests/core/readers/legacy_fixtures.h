#pragma once

// The test pictures of the older formats in tests/data/readers/<format>/, made by
// scripts/fixtures/make_legacy_fixtures_1.py, and the checks every reader's tests share.

#include <ostream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "imaging/picture_loader.h"
#include "library_reader_fixtures.h"
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

// A damaged picture and the reason it must be refused with.
struct DamagedCase {
    std::string picture;
    std::string reason;
};

inline std::string fixturePath(const std::string& format, const std::string& name) {
    return readerFixturePath(format + "/" + name);
}

// Reads the picture through the format registry, as the program does, compares it with its
// reference, and checks that the header-only probe gives the same size.
inline void expectDecodesToReference(const std::string& format, const FixtureCase& fixture) {
    SCOPED_TRACE(fixture.picture);
    const std::string path = fixturePath(format, fixture.picture);
    const Bitmap bitmap = readPictureFile(path);
    EXPECT_TRUE(
        matchesPicture(bitmap, readPpm(fixturePath(format, fixture.reference)), fixture.tolerance));
    EXPECT_EQ(probePictureFile(path), (PictureSize{bitmap.width(), bitmap.height()}));
}

// The picture is refused with a ProjectError that names the file and starts its reason with
// the expected text (a truncated file also says where the data ran out).
inline void expectRefused(const std::string& format, const DamagedCase& damaged) {
    const std::string path = fixturePath(format, damaged.picture);
    try {
        readPictureFile(path);
        ADD_FAILURE() << damaged.picture << " was read";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(),
                    ::testing::StartsWith("Cannot read picture " + path + ": " + damaged.reason));
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
