#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "legacy_format_fixtures.h"
#include "readers/eps_reader.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

namespace fixtures = testing::legacy_formats;

// Whether the reader for the file is still a placeholder of a reader not yet written.
bool readerMissing(const char* file) {
    try {
        pictureFormats().readerFor(file).decoder->decode({{}, file});
    } catch (const ProjectError& error) {
        return std::string(error.what()).ends_with("are not supported yet.");
    }
    return false;
}

TEST(EpsReader, ShowsTheMetafilePreview) {
    EXPECT_EQ(fixtures::differences(fixtures::readFixture("eps", "wmf-preview.eps"),
                                    fixtures::reference("eps", "wmf-preview.ppm")),
              0);
}

TEST(EpsReader, ShowsTheTiffPreview) {
    if (readerMissing("x.tif")) {
        GTEST_SKIP() << "the TIFF reader is not available";
    }
    const Bitmap picture = fixtures::readFixture("eps", "tiff-preview.eps");
    EXPECT_EQ(fixtures::differences(picture, fixtures::reference("eps", "plain.ppm")), 0);
}

TEST(EpsReader, HandsPostScriptWithoutPreviewToTheRenderer) {
    std::string drawn;
    const EpsReader reader([&drawn](Bytes postscript) -> std::optional<Bitmap> {
        drawn.assign(postscript.begin(), postscript.end());
        return Bitmap(60, 40);
    });
    for (const char* name : {"plain.eps", "no-preview.eps"}) {
        drawn.clear();
        const std::vector<std::uint8_t> data = fixtures::bytes("eps", name);
        const PictureSource source{data, name};
        EXPECT_EQ(reader.probe(source), (PictureSize{60, 40})) << name;
        EXPECT_EQ(reader.decode(source).width(), 60) << name;
        EXPECT_EQ(drawn.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u) << name;
        EXPECT_NE(drawn.find("%%EOF"), std::string::npos) << name;
    }
}

TEST(EpsReader, DrawsPostScriptWithGhostscript) {
    if (readerMissing("x.ppm") || std::system("gs --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "the PPM reader or Ghostscript is not available";
    }
    const Bitmap picture = readPictureFile(fixtures::path("eps", "plain.eps"));
    EXPECT_EQ(fixtures::differences(picture, fixtures::reference("eps", "plain.ppm")), 0);
}

TEST(EpsReader, SaysSoWhenNothingCanDrawThePostScript) {
    const EpsReader reader([](Bytes) { return std::optional<Bitmap>{}; });
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("eps", "no-preview.eps")),
              "the Encapsulated Postscript file has no preview picture, and Ghostscript, which "
              "could draw it, is not installed");
}

TEST(EpsReader, RejectsDamagedFiles) {
    const EpsReader reader([](Bytes) { return std::optional<Bitmap>{}; });
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("eps", "preview-offset.eps")),
              "the Encapsulated Postscript file is damaged: its TIFF preview lies beyond the "
              "end of the file");
    EXPECT_EQ(fixtures::decodeError(reader, fixtures::bytes("eps", "no-bounding-box.eps")),
              "the Encapsulated Postscript file has no bounding box");
    EXPECT_EQ(fixtures::decodeError(reader, {}), "the file is not an Encapsulated Postscript file");
    std::vector<std::uint8_t> header = fixtures::bytes("eps", "wmf-preview.eps");
    header.resize(12);
    EXPECT_EQ(fixtures::decodeError(reader, header),
              "the Encapsulated Postscript file is truncated");
}

} // namespace
} // namespace vellumar
