#include <fstream>

#include <gtest/gtest.h>

#include "imaging/atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "imaging/picture_builds.h"
#include "imaging/picture_loader.h"
#include "model/settings_rules.h"
#include "project_error.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;

struct PictureBuildsTest : ::testing::Test {
    // A JPEG source picture of the given size in the scratch folder.
    TImgEntry addPicture(const std::string& name, int width, int height) {
        const std::string path = scratch.folder() + "src/" + name;
        fs::create_directories(scratch.path() / "src");
        writeFileAtomically(path, encodeJpeg(testing::filledPicture(width, height, {90, 140, 60})));
        TImgEntry entry;
        entry.file = path;
        entry.title = name;
        entries.push_back(entry);
        return entry;
    }
    std::string destination() const { return scratch.folder() + "gallery/"; }
    void useDestination() {
        fs::create_directories(destination());
        settings.DestFolder = destination();
    }
    PictureBuild build() { return {entries, settings, frontend}; }
    PictureSize sizeOf(const std::string& path) { return probePictureFile(path); }

    testing::ScratchFolder scratch;
    std::vector<TImgEntry> entries;
    GallerySettings settings;
    testing::ScriptedFrontend frontend;
};

TEST_F(PictureBuildsTest, ThumbnailBoxFollowsFitAndFlags) {
    settings.ThumbWidth = {true, "120"};
    settings.ThumbHeight = {false, "80"};
    PictureBox box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 120);
    EXPECT_TRUE(box.keepRatio);

    settings.ThumbWidth.on = false;
    settings.ThumbHeight.on = true;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 80);
    EXPECT_EQ(box.height, 80);

    settings.ThumbWidth.on = true;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.width, 120);
    EXPECT_EQ(box.height, 80);
    EXPECT_FALSE(box.keepRatio);

    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    settings.ThumbBorderColor = 255;
    box = thumbnailBoxOf(settings);
    EXPECT_EQ(box.borderWidth, 2);
    EXPECT_EQ(box.borderColor, 255u);

    settings.ThumbWidth.value = "0";
    EXPECT_THROW(thumbnailBoxOf(settings), ProjectError);
}

TEST_F(PictureBuildsTest, LargePictureBoxOnlyWhenResizing) {
    EXPECT_FALSE(largePictureBoxOf(settings));
    settings.ResizePic = true;
    auto box = largePictureBoxOf(settings);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->width, 600);
    EXPECT_EQ(box->height, 400);
    EXPECT_FALSE(box->keepRatio);
    settings.PicHeight.on = false;
    box = largePictureBoxOf(settings);
    EXPECT_EQ(box->width, 600);
    EXPECT_EQ(box->height, 600);
    EXPECT_TRUE(box->keepRatio);
}

TEST_F(PictureBuildsTest, HeightOnlyStretchKeepsTheAspect) {
    addPicture("wide.jpg", 400, 300);
    addPicture("tall.jpg", 300, 400);
    useDestination();
    settings.ThumbWidth.on = false;
    settings.ThumbHeight = {true, "80"};
    ASSERT_TRUE(buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend)));
    EXPECT_EQ(sizeOf(destination() + "thumb/tn_1.jpg"), (PictureSize{80, 60}));
    EXPECT_EQ(sizeOf(destination() + "thumb/tn_2.jpg"), (PictureSize{60, 80}));
    EXPECT_EQ(entries[1].builtThumbWidth, 60);
    EXPECT_EQ(entries[1].builtThumbHeight, 80);
    EXPECT_EQ(frontend.statuses, (std::vector<std::string>{
                                     "Initializing thumbnails......", "Generating thumbnail file 1",
                                     "Generating thumbnail file 2", "Finish"}));
    EXPECT_EQ(frontend.progressValues, (std::vector<int>{50, 100, 0}));
}

TEST_F(PictureBuildsTest, CropCutsAWindowAndBorderGrowsTheRecordedSize) {
    addPicture("photo.jpg", 640, 480);
    entries.back().crop = static_cast<int>(CropAlign::Center);
    addPicture("whole.jpg", 100, 75);
    useDestination();
    setThumbFit(settings, ThumbFit::Crop);
    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend));
    EXPECT_EQ(sizeOf(destination() + "thumb/tn_1.jpg"), (PictureSize{104, 104}));
    EXPECT_EQ(entries[0].builtThumbWidth, 104);
    EXPECT_EQ(entries[1].builtThumbHeight, 104);
}

TEST_F(PictureBuildsTest, OwnSizeLargePicturesAreRotatedAndAlwaysRewritten) {
    addPicture("turned.jpg", 64, 48);
    entries.back().rotate = 1;
    useDestination();
    fs::create_directories(destination() + "pic");
    std::ofstream(destination() + "pic/pic1.jpg") << "old";
    // Ask mode asks nothing: without resizing every large picture is written afresh.
    ASSERT_TRUE(buildLargePictures(build(), OutputPolicy(OverwriteMode::Ask, frontend)));
    EXPECT_TRUE(frontend.questions.empty());
    EXPECT_EQ(sizeOf(destination() + "pic/pic1.jpg"), (PictureSize{48, 64}));
    EXPECT_EQ(entries[0].builtPicWidth, 48);
    EXPECT_EQ(entries[0].builtPicHeight, 64);
}

TEST_F(PictureBuildsTest, OverwriteModesDecideAboutExistingFiles) {
    addPicture("a.jpg", 40, 30);
    addPicture("b.jpg", 40, 30);
    addPicture("c.jpg", 40, 30);
    useDestination();
    fs::create_directories(destination() + "thumb/keep");
    std::ofstream(destination() + "thumb/tn_3.jpg") << "mine";
    std::ofstream(destination() + "thumb/tn_9.jpg") << "stale";

    buildThumbnails(build(), OutputPolicy(OverwriteMode::AddOnly, frontend));
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_3.jpg"), 4u);
    EXPECT_EQ(entries[2].builtThumbWidth, 40); // computed and recorded all the same
    EXPECT_TRUE(fs::exists(destination() + "thumb/tn_9.jpg"));

    frontend.answerNext(false); // tn_1
    frontend.answerNext(true);  // tn_2
    frontend.answerNext(false); // tn_3
    buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend));
    EXPECT_EQ(frontend.questions.front(),
              "Overwrite existing file: " + destination() + "thumb/tn_1.jpg");
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_3.jpg"), 4u);

    std::ofstream(destination() + "thumb/notes.txt") << "mine";
    buildThumbnails(build(), OutputPolicy(OverwriteMode::Overwrite, frontend, {},
                                          OwnedFiles(settings, outputFoldersOf(settings), {})));
    EXPECT_FALSE(fs::exists(destination() + "thumb/tn_9.jpg"));
    EXPECT_TRUE(fs::exists(destination() + "thumb/notes.txt"));
    EXPECT_TRUE(fs::is_directory(destination() + "thumb/keep"));
    EXPECT_EQ(sizeOf(destination() + "thumb/tn_3.jpg"), (PictureSize{40, 30}));
    EXPECT_TRUE(frontend.allAnswersUsed());
}

TEST_F(PictureBuildsTest, EmptyListPreparesTheFolderOnly) {
    useDestination();
    ASSERT_TRUE(buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend)));
    EXPECT_TRUE(fs::is_directory(destination() + "thumb"));
    EXPECT_TRUE(fs::is_empty(destination() + "thumb"));
    EXPECT_EQ(frontend.statuses.back(), "Finish");
}

TEST_F(PictureBuildsTest, BlankOrMissingDestinationWritesNothing) {
    addPicture("a.jpg", 40, 30);
    settings.DestFolder = "   ";
    EXPECT_FALSE(buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend)));
    settings.DestFolder = destination();
    EXPECT_FALSE(buildLargePictures(build(), OutputPolicy(OverwriteMode::Ask, frontend)));
    EXPECT_EQ(
        frontend.notices,
        (std::vector<std::string>{"Please enter destination folder in Settings first!",
                                  "Destination directory " + destination() + " does not exists!"}));
    EXPECT_FALSE(fs::exists(destination()));
}

TEST_F(PictureBuildsTest, UnreadablePictureEndsTheLoopWithItsError) {
    addPicture("a.jpg", 40, 30);
    TImgEntry missing;
    missing.file = scratch.folder() + "gone.jpg";
    entries.push_back(missing);
    addPicture("c.jpg", 40, 30);
    useDestination();
    EXPECT_THROW(buildThumbnails(build(), OutputPolicy(OverwriteMode::Ask, frontend)),
                 ProjectError);
    EXPECT_TRUE(fs::exists(destination() + "thumb/tn_1.jpg"));
    EXPECT_FALSE(fs::exists(destination() + "thumb/tn_3.jpg"));
    EXPECT_EQ(frontend.statuses.back(), "Generating thumbnail file 2");
}

} // namespace
} // namespace vellumar
