#include <ctime>
#include <filesystem>
#include <string>
#include <utime.h>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/picture_adding.h"
#include "model/picture_sort.h"
#include "model/titles_from_metadata.h"
#include "readers/reader_table.h"
#include "support/file_contents.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;

// Commands of the picture step that read what the picture files carry.
struct MetadataCommandsTest : ::testing::Test {
    std::string add(const std::string& fixture, const std::string& name) {
        const std::string path = scratch.folder() + name;
        std::filesystem::copy_file(
            std::string(VELLUMAR_TEST_DATA_DIR) + "/readers/metadata/" + fixture, path);
        EXPECT_TRUE(AddPic(list, path, frontend, pictureFormats()));
        return path;
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const TImgEntry& entry : list.entries()) {
            result.push_back(entry.title);
        }
        return result;
    }
    static void setModified(const std::string& path, int year) {
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mday = 1;
        local.tm_hour = 12;
        local.tm_isdst = -1;
        const std::time_t stamp = std::mktime(&local);
        const utimbuf times{stamp, stamp};
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }

    testing::ScratchFolder scratch;
    testing::ScriptedFrontend frontend;
    PictureList list;
};

TEST_F(MetadataCommandsTest, DateTakenSortsByTheCameraDateElseTheFileDate) {
    add("photo.jpg", "a.jpg");                            // taken 2024-07-14
    setModified(add("orientation-1.png", "b.png"), 2022); // no date inside: the file's
    add("exif-only.jpg", "c.jpg");                        // only a DateTime, 2021-03-04
    setModified(list.entry(1).file, 2000);                // the camera date wins over it

    sortPictures(list, SortKey::DateTaken, SortDirection::Ascending, pictureFormats());
    EXPECT_THAT(titles(), ElementsAre("c.jpg", "b.png", "a.jpg"));
    sortPictures(list, SortKey::DateTaken, SortDirection::Descending, pictureFormats());
    EXPECT_THAT(titles(), ElementsAre("a.jpg", "b.png", "c.jpg"));

    EXPECT_STREQ(kSortChoices[7].item, "Type descending"); // the earlier items stay first
    EXPECT_STREQ(kSortChoices[8].item, "Date taken ascending");
    EXPECT_STREQ(kSortChoices[9].item, "Date taken descending");
}

TEST_F(MetadataCommandsTest, TitlesAndInfosComeFromPicturesThatCarryThem) {
    add("photo.jpg", "a.jpg");
    add("exif-only.jpg", "b.jpg");
    add("orientation-1.png", "c.png");
    const std::string sidecar = scratch.folder() + "c.txt";
    testing::writeFile(sidecar, "From the sidecar\n");
    list.entry(3).info = "typed by hand";

    EXPECT_EQ(titlesFromMetadata(list, pictureFormats()), 3);

    EXPECT_THAT(titles(), ElementsAre("Sunset at the pier", "b.jpg", "c.png"));
    EXPECT_EQ(list.entry(1).info, "Gulls & <waves>");
    EXPECT_EQ(list.entry(2).info, "EXIF description");
    EXPECT_EQ(list.entry(3).info, "From the sidecar");

    std::filesystem::remove(sidecar);
    list.entry(3).info = "typed by hand";
    EXPECT_EQ(titlesFromMetadata(list, pictureFormats()),
              0); // nothing new: the others are already so
    EXPECT_EQ(list.entry(3).info, "typed by hand");
}

// Its XMP title is a file name and every description is what the camera wrote: only the
// IPTC headline, written by a person, is taken, and the info stays as it was.
TEST_F(MetadataCommandsTest, WhatTheCameraFilledInIsPassedOver) {
    add("camera-boilerplate.jpg", "a.jpg");
    list.entry(1).info = "typed by hand";
    EXPECT_EQ(titlesFromMetadata(list, pictureFormats()), 1);
    EXPECT_THAT(titles(), ElementsAre("Harbour at dawn"));
    EXPECT_EQ(list.entry(1).info, "typed by hand");

    // A description of several lines becomes one, as a project file holds it.
    testing::writeFile(scratch.folder() + "a.txt", "Harbour\r\n\r\nat dawn,\tlow tide\n");
    EXPECT_EQ(titlesFromMetadata(list, pictureFormats()), 1);
    EXPECT_EQ(list.entry(1).info, "Harbour at dawn, low tide");
}

} // namespace
} // namespace vellumar
