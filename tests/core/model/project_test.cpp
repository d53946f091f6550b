#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_pictures.h"
#include "model/picture_adding.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/style_list.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using testing::FakeFormats;
using testing::ScriptedFrontend;
using testing::TempFolder;

struct ProjectTest : ::testing::Test {
    bool open(const std::string& path) { return project.open(path, {}, frontend, formats); }

    FakeFormats formats;
    TempFolder folder;
    ScriptedFrontend frontend;
    Project project;
};

TEST_F(ProjectTest, ChangesCountFromTheLastSaveOpenOrStart) {
    EXPECT_FALSE(project.hasUnsavedChanges());
    project.settings().PageTitle = "Trip";
    EXPECT_TRUE(project.hasUnsavedChanges());

    project.save(folder / "trip.vlm");
    EXPECT_FALSE(project.hasUnsavedChanges());
    EXPECT_TRUE(project.savedOnce());
    EXPECT_EQ(project.path(), ""); // saving does not make the file the open project

    ASSERT_TRUE(AddPic(project.pictures(), folder.picture("a.tst"), frontend, formats));
    EXPECT_TRUE(project.hasUnsavedChanges()); // a save earlier does not cover later changes

    project.settings().ThumbProtect = false; // never saved, so no change to save
    project.pictures().entry(1).builtPicWidth = 10;
    project.save(folder / "trip.vlm");
    EXPECT_FALSE(project.hasUnsavedChanges());

    project.startNew();
    EXPECT_FALSE(project.hasUnsavedChanges());
    EXPECT_EQ(project.path(), "Untitled");
    EXPECT_EQ(project.pictures().count(), 0);
    EXPECT_EQ(project.pictures().countText(), "0 pictures in list.");
    EXPECT_EQ(project.settings().PageTitle, "Trip"); // a new project keeps the settings
}

TEST_F(ProjectTest, OpeningReplacesListAndSettingsAndFillsTheGrid) {
    Project saved;
    ASSERT_TRUE(AddPic(saved.pictures(), folder.picture("a.tst", 3, 4), frontend, formats));
    saved.settings().PageTitle = "Saved";
    saved.save(folder / "p.vlm");
    project.settings().PageTitle = "Open";
    frontend.statuses.clear();

    ASSERT_TRUE(open(folder / "p.vlm"));

    EXPECT_TRUE(project.loaded());
    EXPECT_EQ(project.path(), folder / "p.vlm");
    EXPECT_EQ(project.settings().PageTitle, "Saved");
    EXPECT_EQ(project.pictures().row(1), (FileInfoRow{"a.tst", "3 X 4", "7"}));
    EXPECT_EQ(project.pictures().countText(), "1 pictures in list.");
    EXPECT_THAT(frontend.statuses,
                ElementsAre("Loading settings......", "a.tst pictures loaded.", "1 pictures added",
                            "Project " + (folder / "p.vlm") + " loaded."));
    EXPECT_FALSE(project.hasUnsavedChanges());
}

TEST_F(ProjectTest, APictureThatCannotBeReadStaysInTheOpenedProject) {
    Project saved;
    const std::string good = folder.picture("good.tst", 3, 4);
    const std::string broken = folder.picture("broken.tst");
    ASSERT_TRUE(AddPic(saved.pictures(), broken, frontend, formats));
    ASSERT_TRUE(AddPic(saved.pictures(), good, frontend, formats));
    saved.save(folder / "p.vlm");
    folder.write("broken.tst", "no longer a picture");
    frontend.notices.clear();

    ASSERT_TRUE(open(folder / "p.vlm"));

    EXPECT_EQ(project.pictures().count(), 2);
    EXPECT_EQ(project.pictures().row(1), (FileInfoRow{"broken.tst", "cannot be read", "19"}));
    EXPECT_EQ(project.pictures().row(2), (FileInfoRow{"good.tst", "3 X 4", "7"}));
    EXPECT_THAT(frontend.notices, ElementsAre("This picture cannot be read:\nCannot read picture " +
                                              broken + ": not a test picture"));
    EXPECT_EQ(frontend.statuses.back(),
              "Project " + (folder / "p.vlm") + " loaded; 1 of its pictures cannot be read.");
    ASSERT_EQ(project.unreadablePictures().size(), 1u);
    EXPECT_EQ(project.unreadablePictures()[0].file, broken);
}

TEST_F(ProjectTest, AFailedOpenKeepsTheOpenProjectAndSaysWhy) {
    folder.write("p.vlm", "[project]\r\nimgcount=many\r\n");
    project.settings().PageTitle = "Mine";
    project.startNew();

    EXPECT_FALSE(open(folder / "p.vlm"));

    EXPECT_FALSE(project.loaded());
    EXPECT_EQ(project.path(), "Untitled");
    EXPECT_EQ(project.settings().PageTitle, "Mine");
    const std::string failed = "Load project " + (folder / "p.vlm") + " fail!";
    EXPECT_THAT(frontend.notices,
                ElementsAre(failed + "\n[project] imgcount (line 2): 'many' is not a valid "
                                     "integer value"));
    EXPECT_EQ(frontend.statuses.back(), failed);
}

TEST(StyleListTest, ListsTemplateFilesByNameAndAppliesTheirDefaults) {
    TempFolder folder;
    folder.write("template/zebra.htm", "");
    folder.write("template/Apple.htm", "");
    folder.write("template/Upper.HTM", ""); // its template would be looked for as Upper.htm
    folder.write("template/banana.htm",
                 "<html>\r\n<%default begin%>\r\n<%table border=4%>\r\n<%default end%>\r\n");
    folder.write("template/notes.txt", "");
    folder.write("template/folder.htm/inside.htm", "");
    const std::string programFolder = folder / "";

    const std::vector<std::string> styles = listStyles(programFolder);
    EXPECT_THAT(styles, ElementsAre("Apple", "banana", "zebra"));
    EXPECT_TRUE(listStyles(folder / "nowhere/").empty());

    GallerySettings settings;
    StyleLinkImages images;
    chooseStyle(programFolder, "banana", settings, images);
    EXPECT_EQ(settings.Style, "banana");
    EXPECT_EQ(settings.ThumbTableBorderWidth, "4");
}

} // namespace
} // namespace vellumar
