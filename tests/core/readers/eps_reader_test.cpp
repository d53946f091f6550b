#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/eps_reader.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

TEST(EpsReader, ShowsTheMetafilePreview) {
    EXPECT_TRUE(testing::matchesPicture(testing::readFixture("eps", "wmf-preview.eps"),
                                        testing::referencePicture("eps", "wmf-preview.ppm")));
}

TEST(EpsReader, ShowsTheTiffPreview) {
    EXPECT_TRUE(testing::matchesPicture(testing::readFixture("eps", "tiff-preview.eps"),
                                        testing::referencePicture("eps", "plain.ppm")));
}

TEST(EpsReader, HandsPostScriptWithoutPreviewToTheRenderer) {
    std::string drawn;
    const EpsReader reader([&drawn](Bytes postscript) -> std::optional<Bitmap> {
        drawn.assign(postscript.begin(), postscript.end());
        return Bitmap(60, 40);
    });
    for (const char* name : {"plain.eps", "no-preview.eps"}) {
        drawn.clear();
        const std::vector<std::uint8_t> data = testing::fixtureBytes("eps", name);
        const PictureSource source{data, name};
        EXPECT_EQ(reader.probe(source), (PictureSize{60, 40})) << name;
        EXPECT_EQ(reader.decode(source).width(), 60) << name;
        EXPECT_EQ(drawn.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u) << name;
        EXPECT_NE(drawn.find("%%EOF"), std::string::npos) << name;
    }
}

TEST(EpsReader, DrawsPostScriptWithGhostscript) {
    if (std::system("gs --version > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Ghostscript is not installed";
    }
    const Bitmap picture =
        readPictureFile(testing::fixturePath("eps", "plain.eps"), pictureFormats());
    EXPECT_TRUE(testing::matchesPicture(picture, testing::referencePicture("eps", "plain.ppm")));
}

TEST(EpsReader, SaysSoWhenNothingCanDrawThePostScript) {
    const EpsReader reader([](Bytes) { return std::optional<Bitmap>{}; });
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("eps", "no-preview.eps")),
              "the Encapsulated Postscript file has no preview picture, and Ghostscript, which "
              "could draw it, is not installed");
}

TEST(EpsReader, RejectsDamagedFiles) {
    const EpsReader reader([](Bytes) { return std::optional<Bitmap>{}; });
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("eps", "preview-offset.eps")),
              "the Encapsulated Postscript file is damaged: its TIFF preview lies beyond the "
              "end of the file");
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("eps", "no-bounding-box.eps")),
              "the Encapsulated Postscript file has no bounding box");
    EXPECT_EQ(testing::decodeError(reader, {}), "the file is not an Encapsulated Postscript file");
    std::vector<std::uint8_t> header = testing::fixtureBytes("eps", "wmf-preview.eps");
    header.resize(12);
    EXPECT_EQ(testing::decodeError(reader, header),
              "the Encapsulated Postscript file is truncated");
}

} // namespace
} // namespace vellumar
