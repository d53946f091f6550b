#include <algorithm>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_pictures.h"
#include "model/picture_adding.h"
#include "model/picture_editing.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using testing::FakeFormats;
using testing::ScriptedFrontend;
using testing::TempFolder;

struct PictureListTest : ::testing::Test {
    bool add(const std::string& path) { return AddPic(list, path, frontend, formats); }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const TImgEntry& entry : list.entries()) {
            result.push_back(entry.title);
        }
        return result;
    }
    // Fills the list up to count entries without touching the disk.
    void fillTo(int count) {
        while (list.count() < count) {
            list.append(TImgEntry{});
        }
    }

    FakeFormats formats;
    TempFolder folder;
    ScriptedFrontend frontend;
    PictureList list;
};

TEST_F(PictureListTest, AddingAPictureLearnsItsSizeFromTheHeader) {
    const std::string path = folder.picture("beach.tst", 640, 480);

    ASSERT_TRUE(add("  " + path + " "));

    ASSERT_EQ(list.count(), 1);
    TImgEntry expected;
    expected.file = path;
    expected.title = "beach.tst";
    EXPECT_EQ(list.entry(1), expected);
    EXPECT_EQ(list.row(1), (FileInfoRow{"beach.tst", "640 X 480", "11"}));
    EXPECT_EQ(list.countText(), "1 pictures in list");
    EXPECT_THAT(frontend.statuses, ElementsAre("beach.tst loaded"));
    EXPECT_EQ(frontend.eventPumps, 1);
}

TEST_F(PictureListTest, AnEmptyListShowsOneBlankGridRow) {
    EXPECT_THAT(list.gridRows(), ElementsAre(FileInfoRow{}));
    EXPECT_EQ(list.countText(), "0 pictures in list");
}

TEST_F(PictureListTest, UnreadablePicturesArePassedOverAndNamedInOneNoticeAtTheEnd) {
    folder.write("a.tst", "garbage");
    const std::string good = folder.picture("b.tst");

    // The chooser's first name is added last, so the good ones come before it.
    EXPECT_FALSE(addChosenFiles(list, {folder / "a.tst", good, good}, frontend, formats));
    EXPECT_THAT(titles(), ElementsAre("b.tst", "b.tst"));
    EXPECT_THAT(frontend.notices, ElementsAre("This picture cannot be read:\nCannot read picture " +
                                              (folder / "a.tst") + ": not a test picture"));

    // In a folder walk, a 0-byte picture in the middle drops nothing after it.
    frontend.notices.clear();
    list.clear();
    folder.picture("walk/1.tst");
    folder.write("walk/2.tst", "");
    folder.picture("walk/3.tst");
    folder.picture("walk/sub/4.tst");
    for (int i = 0; i < 11; ++i) {
        folder.write("walk/sub/bad" + std::to_string(i) + ".tst", "garbage");
    }
    EXPECT_FALSE(addFolder(list, folder / "walk", true, frontend, formats));
    std::vector<std::string> added = titles();
    std::sort(added.begin(), added.end());
    EXPECT_THAT(added, ElementsAre("1.tst", "3.tst", "4.tst"));
    ASSERT_EQ(frontend.notices.size(), 1u);
    const std::string& notice = frontend.notices[0];
    EXPECT_THAT(notice, ::testing::StartsWith("These 12 pictures cannot be read:\n"));
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 11); // ten named, then the rest
    EXPECT_THAT(notice, ::testing::EndsWith("\n... and 2 more."));
    EXPECT_EQ(frontend.statuses.back(), "3 pictures loaded");
}

TEST_F(PictureListTest, AFullListNamesEveryFileTheWalkLeftOut) {
    folder.picture("top/one.tst");
    folder.picture("top/two.tst");
    folder.picture("top/a/three.tst");
    folder.picture("top/a/deep/four.tst");
    folder.picture("top/b/five.tst");
    fillTo(9998);
    AddingReport report;

    EXPECT_FALSE(AddDirPic(list, folder / "top", frontend, report, formats));

    EXPECT_EQ(list.count(), 9999);
    std::vector<std::string> everyFile = {
        folder / "top/one.tst", folder / "top/two.tst", folder / "top/a/three.tst",
        folder / "top/a/deep/four.tst", folder / "top/b/five.tst"};
    std::erase(everyFile, list.entry(9999).file);
    EXPECT_THAT(report.leftOut, ::testing::UnorderedElementsAreArray(everyFile));
    EXPECT_TRUE(report.unreadable.empty());
}

TEST_F(PictureListTest, ChosenFilesAreAddedSecondToLastThenFirst) {
    const std::string a = folder.picture("a.tst");
    const std::string b = folder.picture("b.tst");
    const std::string c = folder.picture("c.tst");

    EXPECT_TRUE(addChosenFiles(list, {a, b, c}, frontend, formats));

    EXPECT_THAT(titles(), ElementsAre("b.tst", "c.tst", "a.tst"));
}

TEST_F(PictureListTest, AFolderAddsOnlyFilesWithAcceptedExtensions) {
    folder.picture("A.JPG");
    folder.picture("b.jpg");
    folder.picture("c.txt");
    folder.picture("noextension");
    folder.picture("inner.tst/deep.txt"); // a folder with a picture's name is not a picture

    EXPECT_TRUE(addFolder(list, folder / "", false, frontend, formats));

    std::vector<std::string> found = titles();
    std::sort(found.begin(), found.end());
    EXPECT_THAT(found, ElementsAre("A.JPG", "b.jpg"));
    EXPECT_EQ(list.entry(1).file, folder / list.entry(1).title);
    EXPECT_EQ(frontend.statuses.back(), "2 pictures loaded");
}

TEST_F(PictureListTest, AFolderWalkTakesFilesBeforeSubfoldersDepthFirst) {
    folder.picture("top/1.tst");
    folder.picture("top/sub/2.tst");
    folder.picture("top/sub/deeper/3.tst");
    fillTo(5);

    EXPECT_TRUE(addFolder(list, folder / "top", true, frontend, formats));

    EXPECT_EQ(list.count(), 8);
    EXPECT_EQ(list.entry(6).title, "1.tst");
    EXPECT_EQ(list.entry(7).title, "2.tst");
    EXPECT_EQ(list.entry(8).title, "3.tst");
    EXPECT_EQ(frontend.statuses.back(), "8 pictures loaded"); // the total, not the added
}

TEST_F(PictureListTest, TheListHoldsAtMost9999Pictures) {
    const std::string path = folder.picture("p.tst");
    fillTo(9998);

    EXPECT_TRUE(add(path));
    EXPECT_FALSE(add(path));

    EXPECT_EQ(list.count(), 9999);
    EXPECT_EQ(list.countText(), "9999 pictures in list");
    EXPECT_TRUE(frontend.notices.empty()); // a single add is refused silently
}

TEST_F(PictureListTest, AFullListEndsAFolderWalkWithOneMessagePerLevel) {
    folder.picture("top/a/b/one.tst");
    folder.picture("top/a/b/two.tst");
    fillTo(9998);

    EXPECT_TRUE(addFolder(list, folder / "top", true, frontend, formats));

    EXPECT_EQ(list.count(), 9999);
    EXPECT_THAT(frontend.notices, ElementsAre("Too many pictures, cannot add more",
                                              "Too many pictures, cannot add more.",
                                              "Too many pictures, cannot add more."));
}

TEST_F(PictureListTest, AFullListSkipsChosenFilesSilently) {
    const std::string path = folder.picture("p.tst");
    fillTo(9999);

    EXPECT_TRUE(addChosenFiles(list, {path, path}, frontend, formats));
    EXPECT_EQ(list.count(), 9999);
    EXPECT_TRUE(frontend.notices.empty());
}

TEST_F(PictureListTest, RemovingKeepsTheOrderAndSelectsTheNextRow) {
    for (const char* name : {"1.tst", "2.tst", "3.tst", "4.tst", "5.tst"}) {
        add(folder.picture(name));
    }
    EXPECT_EQ(removePicture(list, 2), 2);
    EXPECT_EQ(list.countText(), "4 pictures in list.");
    add(folder.picture("6.tst"));
    add(folder.picture("7.tst"));
    EXPECT_THAT(titles(), ElementsAre("1.tst", "3.tst", "4.tst", "5.tst", "6.tst", "7.tst"));
    EXPECT_EQ(list.row(2).fileName, "3.tst");

    EXPECT_EQ(removePicture(list, 6), 5); // the last: the new last is selected
    while (list.count() > 1) {
        removePicture(list, 1);
    }
    EXPECT_EQ(removePicture(list, 1), 0);
    EXPECT_THAT(list.gridRows(), ElementsAre(FileInfoRow{}));
    EXPECT_EQ(list.countText(), "0 pictures in list.");
}

TEST_F(PictureListTest, ClearingAsksFirst) {
    add(folder.picture("1.tst"));
    frontend.answerNext(false);
    EXPECT_FALSE(clearPictures(list, frontend));
    EXPECT_EQ(list.count(), 1);

    frontend.answerNext(true);
    EXPECT_TRUE(clearPictures(list, frontend));
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.countText(), "0 pictures in list.");
    EXPECT_THAT(frontend.questions, ElementsAre("Do you really want to clear all pictures ?",
                                                "Do you really want to clear all pictures ?"));
}

TEST_F(PictureListTest, MovingSwapsNeighboursButNotPastTheEnds) {
    add(folder.picture("1.tst", 1, 1));
    add(folder.picture("2.tst", 2, 2));
    add(folder.picture("3.tst", 3, 3));

    EXPECT_EQ(movePictureUp(list, 1), 1);
    EXPECT_EQ(movePictureDown(list, 3), 3);
    EXPECT_THAT(titles(), ElementsAre("1.tst", "2.tst", "3.tst"));

    EXPECT_EQ(movePictureUp(list, 3), 2);
    EXPECT_EQ(movePictureDown(list, 1), 2);
    EXPECT_THAT(titles(), ElementsAre("3.tst", "1.tst", "2.tst"));
    EXPECT_EQ(list.row(1).pictureSize, "3 X 3"); // the rows move with their entries
}

TEST_F(PictureListTest, ASinglePictureCannotMove) {
    add(folder.picture("1.tst"));
    EXPECT_EQ(movePictureUp(list, 1), 1);
    EXPECT_EQ(movePictureDown(list, 1), 1);
}

} // namespace
} // namespace vellumar
