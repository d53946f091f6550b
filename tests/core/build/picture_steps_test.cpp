#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "build/build_driver.h"
#include "build/build_plan.h"
#include "build/picture_steps.h"
#include "imaging/atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "imaging/picture_loader.h"
#include "model/settings_rules.h"
#include "model/style_list.h"
#include "project_error.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// The picture loops as a gallery build runs them, with one worker and with several: what
// the user sees and what lands on disk must not depend on how many workers render.
class PictureStepsTest : public ::testing::TestWithParam<int> {
protected:
    PictureStepsTest() {
        settings.Style = listStyles(kProgramFolder).front();
        settings.DestFolder = destination();
        fs::create_directories(destination());
    }

    // A JPEG source picture of the given size in the scratch folder.
    void addPicture(const std::string& name, int width, int height) {
        const std::string path = scratch.folder() + "src/" + name;
        fs::create_directories(scratch.path() / "src");
        writeFileAtomically(path, encodeJpeg(testing::filledPicture(width, height, {90, 140, 60})));
        TImgEntry entry;
        entry.file = path;
        entry.title = name;
        entries.push_back(entry);
    }
    void addPictures(int count) {
        for (int i = 1; i <= count; ++i) {
            addPicture("photo" + std::to_string(i) + ".jpg", 40 + i, 30);
        }
    }

    bool run(OverwriteMode mode, std::size_t heldMemory = 64u << 20) {
        settings.Overwrite = mode;
        BuildPlan plan = galleryPlan(settings, entries.size(), kProgramFolder, GetParam());
        plan.heldPictureMemory = heldMemory;
        const OutputPolicy policy = outputPolicyOf(plan, settings, kProgramFolder, {}, frontend);
        return buildPictures(plan, settings, entries, policy, frontend, sizes);
    }

    // Large pictures resized to fit 600 x 600, which the small test pictures already do.
    void resizeLargePictures() {
        settings.ResizePic = true;
        settings.PicHeight.on = false;
    }

    std::string destination() const { return scratch.folder() + "gallery/"; }
    PictureSize sizeOf(const std::string& file) { return probePictureFile(destination() + file); }
    bool exists(const std::string& file) const { return fs::exists(destination() + file); }

    // Hidden temporary files anywhere below the scratch folder.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(scratch.path())) {
            if (entry.path().extension() == ".tmp") {
                found.push_back(entry.path().string());
            }
        }
        return found;
    }

    static inline const std::string kProgramFolder = VELLUMAR_SOURCE_DATA_DIR "/";
    testing::ScratchFolder scratch;
    std::vector<TImgEntry> entries;
    GallerySettings settings;
    testing::ScriptedFrontend frontend;
    std::vector<BuiltSizes> sizes;
};

INSTANTIATE_TEST_SUITE_P(Workers, PictureStepsTest, ::testing::Values(1, 4));

TEST_P(PictureStepsTest, HeightOnlyStretchKeepsTheAspectAndBothLoopsReport) {
    addPicture("wide.jpg", 400, 300);
    addPicture("tall.jpg", 300, 400);
    settings.ThumbWidth.on = false;
    settings.ThumbHeight = {true, "80"};
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{80, 60}));
    EXPECT_EQ(sizeOf("thumb/tn_2.jpg"), (PictureSize{60, 80}));
    EXPECT_EQ(sizes[1].thumbnail, (PictureSize{60, 80}));
    EXPECT_EQ(sizes[1].largePicture, (PictureSize{300, 400}));
    EXPECT_THAT(frontend.statuses,
                ElementsAre("Initializing thumbnails......", "Generating thumbnail file 1",
                            "Generating thumbnail file 2", "Finish",
                            "Initializing large pictures......", "Generating large picture 1",
                            "Generating large picture 2", "Finish"));
    EXPECT_THAT(frontend.progressValues, ElementsAre(50, 100, 0, 50, 100, 0));
}

TEST_P(PictureStepsTest, CropCutsAWindowAndBorderGrowsTheRecordedSize) {
    addPicture("photo.jpg", 640, 480);
    entries.back().crop = static_cast<int>(CropAlign::Center);
    addPicture("whole.jpg", 100, 75);
    setThumbFit(settings, ThumbFit::Crop);
    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{104, 104}));
    EXPECT_EQ(sizes[0].thumbnail, (PictureSize{104, 104}));
    EXPECT_EQ(sizes[1].thumbnail, (PictureSize{104, 104}));
}

TEST_P(PictureStepsTest, OwnSizeLargePicturesAreRotatedAndAlwaysRewritten) {
    addPicture("turned.jpg", 64, 48);
    entries.back().rotate = 1;
    fs::create_directories(destination() + "pic");
    fs::create_directories(destination() + "thumb");
    std::ofstream(destination() + "pic/pic1.jpg") << "old";
    frontend.answerNext(true); // only the thumbnail is asked about
    std::ofstream(destination() + "thumb/tn_1.jpg") << "old";
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_THAT(frontend.questions, ElementsAre(HasSubstr("thumb/tn_1.jpg")));
    EXPECT_EQ(sizeOf("pic/pic1.jpg"), (PictureSize{48, 64}));
    EXPECT_EQ(sizes[0].largePicture, (PictureSize{48, 64}));
}

TEST_P(PictureStepsTest, AskQuestionsComeInListOrderLoopByLoop) {
    addPictures(3);
    resizeLargePictures();
    fs::create_directories(destination() + "thumb");
    fs::create_directories(destination() + "pic");
    for (const char* file : {"thumb/tn_1.jpg", "thumb/tn_3.jpg", "pic/pic2.jpg"}) {
        std::ofstream(destination() + file) << "mine";
    }
    frontend.answerNext(false);
    frontend.answerNext(true);
    frontend.answerNext(false);
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_THAT(frontend.questions,
                ElementsAre("Overwrite existing file: " + destination() + "thumb/tn_1.jpg",
                            "Overwrite existing file: " + destination() + "thumb/tn_3.jpg",
                            "Overwrite existing file: " + destination() + "pic/pic2.jpg"));
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_1.jpg"), 4u);
    EXPECT_EQ(sizeOf("thumb/tn_3.jpg"), (PictureSize{43, 30}));
    EXPECT_EQ(fs::file_size(destination() + "pic/pic2.jpg"), 4u);
    EXPECT_EQ(sizeOf("pic/pic3.jpg"), (PictureSize{43, 30}));
    EXPECT_TRUE(frontend.allAnswersUsed());
}

TEST_P(PictureStepsTest, AddOnlyAndOverwriteDecideAboutExistingFiles) {
    addPictures(3);
    fs::create_directories(destination() + "thumb/keep");
    std::ofstream(destination() + "thumb/tn_3.jpg") << "mine";
    std::ofstream(destination() + "thumb/tn_9.jpg") << "stale";

    ASSERT_TRUE(run(OverwriteMode::AddOnly));
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_3.jpg"), 4u);
    EXPECT_EQ(sizes[2].thumbnail, (PictureSize{43, 30})); // computed and recorded all the same
    EXPECT_TRUE(exists("thumb/tn_9.jpg"));

    std::ofstream(destination() + "thumb/notes.txt") << "mine";
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_FALSE(exists("thumb/tn_9.jpg"));
    EXPECT_TRUE(exists("thumb/notes.txt"));
    EXPECT_TRUE(fs::is_directory(destination() + "thumb/keep"));
    EXPECT_EQ(sizeOf("thumb/tn_3.jpg"), (PictureSize{43, 30}));
}

TEST_P(PictureStepsTest, EmptyListPreparesTheFoldersOnly) {
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_TRUE(fs::is_empty(destination() + "thumb"));
    EXPECT_TRUE(fs::is_empty(destination() + "pic"));
    EXPECT_EQ(frontend.statuses.back(), "Finish");
}

TEST_P(PictureStepsTest, AnErrorAtPictureThreeKeepsOnlyTheFilesBeforeIt) {
    addPictures(6);
    fs::remove(entries[2].file);
    try {
        run(OverwriteMode::Ask);
        FAIL() << "expected the unreadable picture to end the build";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("photo3.jpg"));
    }
    EXPECT_TRUE(exists("thumb/tn_1.jpg"));
    EXPECT_TRUE(exists("thumb/tn_2.jpg"));
    for (int i = 3; i <= 6; ++i) {
        EXPECT_FALSE(exists("thumb/tn_" + std::to_string(i) + ".jpg")) << i;
    }
    EXPECT_FALSE(exists("pic"));
    EXPECT_THAT(leftovers(), IsEmpty());
    EXPECT_EQ(frontend.statuses.back(), "Generating thumbnail file 3");
    EXPECT_EQ(frontend.progressValues.back(), 33);
}

TEST_P(PictureStepsTest, AStopKeepsWhatWasWrittenAndLeavesNoTemporaryFile) {
    addPictures(6);
    resizeLargePictures();
    frontend.stopAfterStatus("Generating large picture 2");
    // Nothing held in memory: every large picture waits in a hidden file.
    EXPECT_FALSE(run(OverwriteMode::Ask, 0));
    EXPECT_TRUE(exists("thumb/tn_6.jpg"));
    EXPECT_TRUE(exists("pic/pic2.jpg"));
    EXPECT_FALSE(exists("pic/pic3.jpg"));
    EXPECT_FALSE(sizes[2].largePicture);
    EXPECT_THAT(leftovers(), IsEmpty());
}

TEST_P(PictureStepsTest, PicturesHeldOnDiskArriveWhole) {
    addPictures(4);
    resizeLargePictures();
    ASSERT_TRUE(run(OverwriteMode::Ask, 0));
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(sizeOf("pic/pic" + std::to_string(i) + ".jpg"), (PictureSize{40 + i, 30}));
    }
    EXPECT_THAT(leftovers(), IsEmpty());
}

} // namespace
} // namespace vellumar
