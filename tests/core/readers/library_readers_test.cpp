#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "project_error.h"
#include "reader_fixtures.h"
#include "readers/gif_reader.h"
#include "readers/jpeg_reader.h"
#include "readers/picture_loader.h"
#include "readers/png_reader.h"
#include "readers/reader_table.h"
#include "readers/tiff_reader.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

using testing::fixtureBytes;
using testing::fixturePath;
using testing::matchesPicture;
using testing::referencePicture;

const PictureReader& readerFor(const std::string& folder) {
    static const JpegReader jpeg;
    static const PngReader png;
    static const GifReader gif;
    static const TiffReader tiff;
    if (folder == "jpeg") {
        return jpeg;
    }
    if (folder == "png") {
        return png;
    }
    return folder == "gif" ? static_cast<const PictureReader&>(gif) : tiff;
}

struct Fixture {
    std::string folder;
    std::string name; // the picture is <name> plus the folder's extension, the reference .ppm
    int tolerance = 0;
    Bitmap::Layout layout = Bitmap::Layout::Rgb24;
};

void PrintTo(const Fixture& fixture, std::ostream* out) {
    *out << fixture.folder << "/" << fixture.name;
}

std::string extensionFor(const std::string& folder) {
    return folder == "jpeg" ? ".jpg" : folder == "tiff" ? ".tif" : "." + folder;
}

std::string testNameFrom(std::string text) {
    for (char& c : text) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return text;
}

std::string fixtureName(const ::testing::TestParamInfo<Fixture>& info) {
    return testNameFrom(info.param.folder + "_" + info.param.name);
}

class LibraryReaderFixture : public ::testing::TestWithParam<Fixture> {};

TEST_P(LibraryReaderFixture, DecodesToTheReferenceAndProbesTheSameSize) {
    const Fixture& fixture = GetParam();
    const std::vector<std::uint8_t> bytes =
        fixtureBytes(fixture.folder, fixture.name + extensionFor(fixture.folder));
    const PictureReader& reader = readerFor(fixture.folder);
    const PictureSource source{bytes, fixture.folder + "/" + fixture.name};

    ASSERT_TRUE(reader.sniff(bytes));
    const Bitmap bitmap = reader.decode(source);
    EXPECT_EQ(bitmap.layout(), fixture.layout);
    EXPECT_TRUE(matchesPicture(bitmap, referencePicture(fixture.folder, fixture.name + ".ppm"),
                               fixture.tolerance));
    EXPECT_EQ(reader.probe(source), (PictureSize{bitmap.width(), bitmap.height()}));
}

// JPEG references are libjpeg's own decode, so JPEGs match exactly; 16-bit samples and
// premultiplied TIFF alpha may round one step apart. CMYK pictures go through a press profile
// (the colour tests hold them against Little CMS).
INSTANTIATE_TEST_SUITE_P(
    Pictures, LibraryReaderFixture,
    ::testing::Values(
        Fixture{"jpeg", "rgb"}, Fixture{"jpeg", "rgb-444"}, Fixture{"jpeg", "gray"},
        Fixture{"jpeg", "progressive"}, Fixture{"png", "gray1"}, Fixture{"png", "gray2"},
        Fixture{"png", "gray4"}, Fixture{"png", "gray8"}, Fixture{"png", "gray16", 1},
        Fixture{"png", "gray-alpha8"}, Fixture{"png", "gray-alpha16", 1}, Fixture{"png", "rgb8"},
        Fixture{"png", "rgb16", 1}, Fixture{"png", "rgba8"}, Fixture{"png", "rgba16", 1},
        Fixture{"png", "palette1"}, Fixture{"png", "palette2"}, Fixture{"png", "palette4"},
        Fixture{"png", "palette8"}, Fixture{"png", "palette-trns"}, Fixture{"png", "rgb-trns"},
        Fixture{"png", "interlaced-rgb"}, Fixture{"png", "interlaced-gray4"},
        Fixture{"gif", "palette", 0, Bitmap::Layout::Palette8},
        Fixture{"gif", "interlaced", 0, Bitmap::Layout::Palette8},
        Fixture{"gif", "animated", 0, Bitmap::Layout::Palette8}, Fixture{"gif", "transparent"},
        Fixture{"gif", "offset"}, Fixture{"tiff", "rgb-none"}, Fixture{"tiff", "rgb-lzw"},
        Fixture{"tiff", "rgb-packbits"}, Fixture{"tiff", "rgb-deflate"},
        Fixture{"tiff", "rgb-jpeg"}, Fixture{"tiff", "rgb16", 1}, Fixture{"tiff", "gray-lzw"},
        Fixture{"tiff", "bilevel-g3"}, Fixture{"tiff", "bilevel-g4"}, Fixture{"tiff", "palette"},
        Fixture{"tiff", "rgba", 1}, Fixture{"tiff", "tiled"}, Fixture{"tiff", "bottom-up"},
        Fixture{"tiff", "strips-lzw"}, Fixture{"tiff", "strips-jpeg"}, Fixture{"tiff", "float-rgb"},
        Fixture{"tiff", "float-grey-alpha"}, Fixture{"tiff", "float-half-grey"}),
    fixtureName);

struct DamagedFile {
    std::string folder;
    std::string file;
    std::string complaint; // part of the expected error text
};

void PrintTo(const DamagedFile& damaged, std::ostream* out) {
    *out << damaged.folder << "/" << damaged.file;
}

class DamagedLibraryFile : public ::testing::TestWithParam<DamagedFile> {};

TEST_P(DamagedLibraryFile, FailsWithAReasonAndPrintsNothing) {
    const DamagedFile& damaged = GetParam();
    const std::vector<std::uint8_t> bytes = fixtureBytes(damaged.folder, damaged.file);
    const PictureReader& reader = readerFor(damaged.folder);
    ::testing::internal::CaptureStderr();
    try {
        reader.decode({bytes, damaged.file});
        ADD_FAILURE() << damaged.file << " decoded";
    } catch (const ProjectError& error) {
        EXPECT_NE(std::string(error.what()).find(damaged.complaint), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Truncated, DamagedLibraryFile,
    ::testing::Values(DamagedFile{"jpeg", "truncated.jpg", "Premature end of JPEG file"},
                      DamagedFile{"jpeg", "truncated-progressive.jpg", "Premature end"},
                      DamagedFile{"png", "truncated.png", "the PNG data cannot be decoded"},
                      DamagedFile{"gif", "truncated.gif", "the GIF data cannot be decoded"},
                      DamagedFile{"tiff", "truncated.tif", "the TIFF data cannot be decoded"}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) {
        return testNameFrom(info.param.file);
    });

// Truncated PNGs and JPEGs are refused, not shown in part as browsers show them; the message
// says how much of the picture the file holds.
TEST(LibraryReaders, ATruncatedPictureSaysHowFarItsDataGoes) {
    const auto error = [](const std::string& folder, const std::vector<std::uint8_t>& bytes) {
        return testing::decodeError(readerFor(folder), bytes);
    };
    // In the decoder's words, without its message number.
    EXPECT_EQ(error("jpeg", fixtureBytes("jpeg", "truncated.jpg")),
              "Premature end of JPEG file (the picture data ends after 16 of its 43 rows)");
    EXPECT_THAT(error("jpeg", fixtureBytes("jpeg", "truncated-progressive.jpg")),
                ::testing::EndsWith(" (the picture data ends after 6 whole scans)"));
    EXPECT_THAT(error("png", fixtureBytes("png", "truncated.png")),
                ::testing::EndsWith(" (the picture data ends after 10 of its 19 rows)"));

    std::vector<std::uint8_t> transparent = fixtureBytes("png", "rgba8.png");
    transparent.resize(transparent.size() / 2);
    EXPECT_THAT(error("png", transparent), ::testing::EndsWith(" rows)"));

    std::vector<std::uint8_t> interlaced = fixtureBytes("png", "interlaced-rgb.png");
    interlaced.resize(interlaced.size() * 4 / 10);
    EXPECT_THAT(error("png", interlaced),
                ::testing::EndsWith(" (the picture data ends in interlace pass 6 of 7)"));
}

TEST(LibraryReaders, RejectEmptyAndForeignInput) {
    const std::vector<std::uint8_t> png = fixtureBytes("png", "rgb8.png");
    for (const char* folder : {"jpeg", "png", "gif", "tiff"}) {
        const PictureReader& reader = readerFor(folder);
        EXPECT_FALSE(reader.sniff({})) << folder;
        EXPECT_THROW(reader.decode({}), ProjectError) << folder;
        EXPECT_THROW(reader.probe({}), ProjectError) << folder;
        if (std::string(folder) != "png") {
            EXPECT_FALSE(reader.sniff(png)) << folder;
            EXPECT_THROW(reader.decode({png, "rgb8.png"}), ProjectError) << folder;
        }
    }
}

// A signature followed by nonsense must fail cleanly, never crash or print.
TEST(LibraryReaders, RejectAHeaderFollowedByNoise) {
    const std::vector<std::vector<std::uint8_t>> headers = {
        {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11},
        {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'},
        {'G', 'I', 'F', '8', '9', 'a', 0x10, 0, 0x10, 0, 0x80, 0, 0},
        {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF}};
    const std::vector<const char*> folders = {"jpeg", "png", "gif", "tiff"};
    for (std::size_t i = 0; i < headers.size(); ++i) {
        std::vector<std::uint8_t> bytes = headers[i];
        for (int n = 0; n < 64; ++n) {
            bytes.push_back(static_cast<std::uint8_t>(n * 73 + 5));
        }
        const PictureReader& reader = readerFor(folders[i]);
        ::testing::internal::CaptureStderr();
        EXPECT_TRUE(reader.sniff(bytes)) << folders[i];
        EXPECT_THROW(reader.decode({bytes, "noise"}), ProjectError) << folders[i];
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << folders[i];
    }
}

TEST(LibraryReaders, ProbeNeedsOnlyTheHeader) {
    const std::vector<std::uint8_t> png = fixtureBytes("png", "rgb8.png");
    EXPECT_EQ(PngReader().probe({Bytes(png).first(24), ""}), (PictureSize{23, 19}));
    const std::vector<std::uint8_t> gif = fixtureBytes("gif", "palette.gif");
    EXPECT_EQ(GifReader().probe({Bytes(gif).first(13 + 3 * 32), ""}), (PictureSize{29, 17}));
    const std::vector<std::uint8_t> jpeg = fixtureBytes("jpeg", "progressive.jpg");
    EXPECT_EQ(JpegReader().probe({Bytes(jpeg).first(jpeg.size() / 2), ""}), (PictureSize{61, 43}));
}

TEST(LibraryReaders, ATiffWithoutItsDirectoryIsRejectedWhenProbed) {
    const std::vector<std::uint8_t> tiff = fixtureBytes("tiff", "rgb-lzw.tif");
    ::testing::internal::CaptureStderr();
    EXPECT_THROW(TiffReader().probe({Bytes(tiff).first(tiff.size() / 2), ""}), ProjectError);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

// Copies fixtures under new names into a folder of their own, removed at the end.
class RenamedFixtures : public ::testing::Test {
protected:
    std::string copyAs(const std::string& format, const std::string& fixture,
                       const std::string& name) const {
        const std::filesystem::path target = m_folder.path() / name;
        std::filesystem::copy_file(fixturePath(format, fixture), target);
        return target.string();
    }

private:
    testing::ScratchFolder m_folder;
};

TEST_F(RenamedFixtures, JpegNamesOfAnyCaseLoadThroughTheJpegReader) {
    const Bitmap reference = referencePicture("jpeg", "rgb.ppm");
    for (const char* name : {"photo.JPG", "photo.Jpeg", "photo.jfif", "photo.jpe"}) {
        const std::string path = copyAs("jpeg", "rgb.jpg", name);
        EXPECT_EQ(pictureFormats().readerFor(path).name, "TJPEGImage") << name;
        const Bitmap bitmap = readPictureFile(path, pictureFormats());
        EXPECT_EQ(bitmap.layout(), Bitmap::Layout::Rgb24) << name;
        EXPECT_TRUE(matchesPicture(bitmap, reference)) << name;
    }
}

TEST_F(RenamedFixtures, APngNamedAsJpegLoadsAsPng) {
    const std::string path = fixturePath("jpeg", "misnamed-png.jpg");
    EXPECT_TRUE(matchesPicture(readPictureFile(path, pictureFormats()),
                               referencePicture("jpeg", "misnamed-png.ppm")));
    EXPECT_EQ(probePictureFile(path, pictureFormats()), (PictureSize{23, 19}));
}

// Floating-point layouts beyond those decoded are refused in our own words, not libtiff's.
TEST(LibraryReaders, AFloatTiffOfAnotherDepthIsRefusedInOurWords) {
    std::vector<std::uint8_t> bytes = fixtureBytes("tiff", "float-half-grey.tif");
    // The directory entry of BitsPerSample: tag 258, type SHORT, one value, 16.
    const std::vector<std::uint8_t> entry = {0x02, 0x01, 3, 0, 1, 0, 0, 0, 16, 0};
    const auto at = std::search(bytes.begin(), bytes.end(), entry.begin(), entry.end());
    ASSERT_NE(at, bytes.end());
    at[8] = 24;
    EXPECT_EQ(testing::decodeError(TiffReader(), bytes),
              "the TIFF data cannot be decoded: floating-point samples of 24 bits are not "
              "supported");
}

// A multi-picture file from a phone is read as the JPEG it starts with, up to that JPEG's
// end: the pictures after it are neither shown nor counted.
TEST(LibraryReaders, AMultiPictureFileShowsItsFirstPicture) {
    const std::string path = fixturePath("jpeg", "two-pictures.mpo");
    EXPECT_EQ(pictureFormats().readerFor(path).name, "TJPEGImage");
    EXPECT_TRUE(matchesPicture(readPictureFile(path, pictureFormats()),
                               referencePicture("jpeg", "two-pictures.ppm")));
    EXPECT_EQ(probePictureFile(path, pictureFormats()), (PictureSize{61, 43}));
    EXPECT_TRUE(pictureFormats().acceptsFile("DSCF0001.MPO"));
}

TEST_F(RenamedFixtures, FaxAndTifNamesLoadThroughTheTiffReader) {
    const Bitmap reference = referencePicture("tiff", "bilevel-g3.ppm");
    for (const char* name : {"scan.fax", "scan.TIF", "scan.tiff"}) {
        const std::string path = copyAs("tiff", "bilevel-g3.tif", name);
        EXPECT_TRUE(matchesPicture(readPictureFile(path, pictureFormats()), reference)) << name;
    }
}

TEST_F(RenamedFixtures, ADamagedFileIsNamedInTheError) {
    const std::string path = copyAs("png", "truncated.png", "holiday #1.png");
    try {
        readPictureFile(path, pictureFormats());
        ADD_FAILURE() << "a truncated PNG loaded";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Cannot read picture " + path + ": the PNG", 0),
                  0u)
            << error.what();
    }
}

} // namespace
} // namespace vellumar
