#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pipeline/build_driver.h"
#include "readers/picture_loader.h"
#include "readers/picture_metadata.h"
#include "readers/reader_table.h"
#include "support/gallery_fixture.h"
#include "support/scoped_home.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::readFile;

std::string metadataFixture(const std::string& name) {
    return std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/metadata/" + name;
}

// Whole builds of pictures that carry camera metadata, through the one build driver.
class PictureMetadataBuildTest : public testing::GalleryFixture {
protected:
    PictureMetadataBuildTest() {
        writeStyle(
            "<%pic date%>|<%pic camera%>|<%pic lens%>|<%pic exposure%>|<%pic description%>\r\n"
            "<%thumb cell begin%>\r\n"
            "[<%pic date%>|<%pic camera%>|<%pic description%>|<%thumb size%>]\r\n"
            "<%thumb cell end%>\r\n");
        settings.ThumbShowTitle = false;
        fs::create_directories(dest());
    }

    void addPicture(const std::string& fixture) {
        TImgEntry entry;
        entry.file =
            scratch.folder() + "photos/" + std::to_string(entries.size() + 1) + "-" + fixture;
        fs::create_directories(scratch.path() / "photos");
        fs::copy_file(metadataFixture(fixture), entry.file);
        entry.title = fixture;
        entries.push_back(entry);
    }

    BuildReport build() {
        BuildPlan plan = galleryPlan(settings, entries.size(), program(), {1});
        plan.reuseFolder = scratch.folder() + "reuse/";
        BuildReport report =
            runBuild(plan, {settings, entries, program(), {}, "test"}, pictureFormats(), frontend);
        EXPECT_EQ(report.outcome, BuildOutcome::Finished) << report.error;
        return report;
    }

    std::vector<std::string> lines(const std::string& page) { return pageLines(dest() + page); }

    testing::ScopedHome home{scratch.folder() + "home"};
};

TEST_F(PictureMetadataBuildTest, PagesShowWhatThePicturesCarryEscaped) {
    addPicture("photo.jpg");
    addPicture("orientation-1.png"); // carries nothing but its orientation
    testing::writeFile(entries[1].file + ".txt", "Told beside it");

    build();

    const std::string photoLine = "2024-07-14 18:03|NIKON D750|24-120mm f/4 &lt;VR&gt;|"
                                  "1/250 s, f/5.6, ISO 200, 35 mm|Gulls &amp; &lt;waves&gt;";
    EXPECT_EQ(lines("picpage/page1.htm")[0], photoLine);
    EXPECT_EQ(lines("picpage/page2.htm")[0], "||||Told beside it");
    // On index pages the metadata tokens belong to the cells only.
    EXPECT_THAT(lines("index.htm"),
                ElementsAre("||||", "<tr>",
                            "[2024-07-14 18:03|NIKON D750|Gulls &amp; &lt;waves&gt;|40 X 24]",
                            "[||Told beside it|5 X 3]", ""));

    // A rebuild that takes both outputs as they are still reads what the files say.
    const BuildReport again = build();
    EXPECT_EQ(again.pictures.decodedPictures, 0u);
    EXPECT_EQ(lines("picpage/page1.htm")[0], photoLine);
}

TEST_F(PictureMetadataBuildTest, OutputPicturesCarryNoMetadata) {
    addPicture("photo.jpg");
    settings.ResizePic = false;
    settings.ModernFormats = ModernFormatChoice::Both;
    // Encoded anew, and kept as the source's own data.
    for (const bool keepOriginal : {false, true}) {
        settings.KeepOriginalJpeg = keepOriginal;
        build();
        for (const std::string output :
             {"thumb/tn_1.jpg", "thumb/tn_1.webp", "thumb/tn_1.avif", "pic/pic1.jpg"}) {
            const std::string bytes = readFile(dest() + output);
            EXPECT_EQ(readPictureMetadata(dest() + output, pictureFormats()), PictureMetadata{})
                << output;
            for (const char* trace : {"Exif", "SERIAL-4711", "NIKON", "xmpmeta", "Photoshop"}) {
                EXPECT_THAT(bytes, Not(HasSubstr(trace))) << output;
            }
        }
    }
    // The picture kept as it is shows the source's very pixels.
    const Bitmap source = readPictureFile(entries[0].file, pictureFormats());
    const Bitmap kept = readPictureFile(dest() + "pic/pic1.jpg", pictureFormats());
    ASSERT_EQ(kept.width(), source.width());
    for (int y = 0; y < source.height(); ++y) {
        ASSERT_EQ(0, std::memcmp(kept.row(y), source.row(y), 3 * std::size_t(source.width())));
    }
}

TEST_F(PictureMetadataBuildTest, AutoRotateTurnsOutputsAndIsPartOfTheReuseFingerprint) {
    addPicture("orientation-6.png"); // stored 3 x 5, held as 5 x 3
    settings.AutoRotate = false;     // as a project file without the key reads
    build();
    EXPECT_EQ(probePictureFile(dest() + "pic/pic1.jpg", pictureFormats()), (PictureSize{3, 5}));

    settings.AutoRotate = true;
    const BuildReport turned = build();
    EXPECT_EQ(turned.pictures.decodedPictures, 1u); // not taken from the unturned build
    EXPECT_EQ(probePictureFile(dest() + "pic/pic1.jpg", pictureFormats()), (PictureSize{5, 3}));
    EXPECT_THAT(lines("index.htm"), ::testing::Contains("[|||5 X 3]"));
}

} // namespace
} // namespace vellumar
