#include <string>

#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/picture_loader.h"
#include "readers/picture_metadata.h"
#include "readers/reader_table.h"
#include "readers/sidecar_text.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

using testing::fixtureBytes;
using testing::fixturePath;

PictureMetadata metadataOf(const std::string& name) {
    return readEmbeddedMetadata(fixtureBytes("metadata", name));
}

TEST(PictureMetadataTest, APhotoTellsWhenWithWhatAndHowItWasTaken) {
    const PictureMetadata photo = metadataOf("photo.jpg");
    ASSERT_TRUE(photo.dateTaken.has_value());
    // DateTimeOriginal wins over the later DateTime of an edit.
    EXPECT_EQ(dateTakenText(*photo.dateTaken), "2024-07-14 18:03");
    EXPECT_EQ(photo.dateTaken->second, 5);
    EXPECT_EQ(photo.camera, "NIKON D750"); // the make is not repeated
    EXPECT_EQ(photo.lens, "24-120mm f/4 <VR>");
    EXPECT_EQ(photo.exposure, "1/250 s, f/5.6, ISO 200, 35 mm");
    EXPECT_EQ(photo.title, "Sunset at the pier");    // XMP before IPTC
    EXPECT_EQ(photo.description, "Gulls & <waves>"); // XMP before IPTC and EXIF
    EXPECT_EQ(photo.orientation, 1);
}

TEST(PictureMetadataTest, ValuesMissingFromOnePlaceComeFromTheNext) {
    const PictureMetadata photo = metadataOf("exif-only.jpg");
    ASSERT_TRUE(photo.dateTaken.has_value());
    EXPECT_EQ(dateTakenText(*photo.dateTaken), "2021-03-04 05:06"); // DateTime alone
    EXPECT_EQ(photo.camera, "Canon EOS R6");
    EXPECT_EQ(photo.lens, "");
    EXPECT_EQ(photo.exposure, "2 s");
    EXPECT_EQ(photo.title, "");
    EXPECT_EQ(photo.description, "EXIF description");
}

TEST(PictureMetadataTest, DamagedMetadataIsLeftOutAndThePictureStillReads) {
    for (const char* name :
         {"hostile-truncated-exif.jpg", "hostile-exif-offset.jpg", "hostile-orientation-0.jpg",
          "hostile-orientation-9.jpg", "hostile-date.jpg", "hostile-huge-description.png"}) {
        const PictureMetadata metadata = metadataOf(name);
        EXPECT_EQ(metadata.orientation, 1) << name;
        EXPECT_FALSE(metadata.dateTaken.has_value()) << name;
        EXPECT_LE(metadata.description.size(), 64u * 1024) << name;
        const Bitmap picture = readPictureFile(fixturePath("metadata", name), pictureFormats());
        EXPECT_EQ(picture.width(), 5) << name;
        EXPECT_EQ(picture.height(), 3) << name;
    }
    EXPECT_EQ(readEmbeddedMetadata({}), PictureMetadata{});
    const std::vector<std::uint8_t> noise(300, 0xFF);
    EXPECT_EQ(readEmbeddedMetadata(noise), PictureMetadata{});
}

struct SidecarTest : ::testing::Test {
    std::string write(const std::string& name, const std::string& content) {
        testing::writeFile(folder.path() / name, content);
        return (folder.path() / name).string();
    }
    testing::ScratchFolder folder;
    std::string picture = (folder.path() / "beach.jpg").string();
};

TEST_F(SidecarTest, TheNameWithTxtAddedComesBeforeTheOneWithTxtInstead) {
    EXPECT_EQ(sidecarText(picture), "");
    write("beach.txt", "Instead\n");
    EXPECT_EQ(sidecarText(picture), "Instead");
    write("beach.jpg.txt", "  Added  \r\n");
    EXPECT_EQ(sidecarText(picture), "Added");
}

TEST_F(SidecarTest, BinaryOrOversizedFilesArePassedOver) {
    write("beach.jpg.txt", std::string("Bad \xC3\x28 UTF-8"));
    write("beach.txt", std::string(kLargestSidecarFile + 1, 'x'));
    EXPECT_EQ(sidecarText(picture), "");
    write("beach.jpg.txt", std::string("nul\0inside", 10));
    EXPECT_EQ(sidecarText(picture), "");
    write("beach.jpg.txt", "Gr\xC3\xBC\xC3\x9F"
                           "e");
    EXPECT_EQ(sidecarText(picture), "Gr\xC3\xBC\xC3\x9F"
                                    "e");
}

TEST_F(SidecarTest, TheFileOwnDescriptionComesFirst) {
    write("beach.txt", "From the sidecar");
    PictureMetadata metadata;
    EXPECT_EQ(pictureDescription(metadata, picture), "From the sidecar");
    metadata.description = "Embedded";
    EXPECT_EQ(pictureDescription(metadata, picture), "Embedded");
}

} // namespace
} // namespace vellumar
