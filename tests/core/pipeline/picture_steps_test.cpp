#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/settings_rules.h"
#include "picture_steps_fixture.h"
#include "project_error.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using PictureStepsTest = testing::PictureStepsFixture;
INSTANTIATE_TEST_SUITE_P(Workers, PictureStepsTest, ::testing::Values(1, 4));

TEST_P(PictureStepsTest, HeightOnlyStretchKeepsTheAspectAndBothLoopsReport) {
    addPicture("wide.jpg", 400, 300);
    addPicture("tall.jpg", 300, 400);
    settings.ThumbWidth.on = false;
    settings.ThumbHeight = {true, "80"};
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{80, 60}));
    EXPECT_EQ(sizeOf("thumb/tn_2.jpg"), (PictureSize{60, 80}));
    EXPECT_EQ(results.sizes[1].thumbnail, (PictureSize{60, 80}));
    EXPECT_EQ(results.sizes[1].largePicture, (PictureSize{300, 400}));
    EXPECT_THAT(frontend.statuses,
                ElementsAre("Initializing thumbnails......", "Generating thumbnail file 1",
                            "Generating thumbnail file 2", "Finish",
                            "Initializing large pictures......", "Generating large picture 1",
                            "Generating large picture 2", "Finish"));
    EXPECT_THAT(frontend.progressValues, ElementsAre(50, 100, 0, 50, 100, 0));
}

TEST_P(PictureStepsTest, CropCutsAWindowAndBorderGrowsTheRecordedSize) {
    addPicture("photo.jpg", 640, 480);
    entries.back().crop = CropAlign::Center;
    addPicture("whole.jpg", 100, 75);
    setThumbFit(settings, ThumbFit::Crop);
    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{104, 104}));
    EXPECT_EQ(results.sizes[0].thumbnail, (PictureSize{104, 104}));
    EXPECT_EQ(results.sizes[1].thumbnail, (PictureSize{104, 104}));
}

TEST_P(PictureStepsTest, DoubleSizeThumbnailsShowTheSameAtTwiceTheBox) {
    addPicture("photo.jpg", 640, 480);
    entries.back().crop = CropAlign::Center;
    addPicture("wide.jpg", 400, 300);
    setThumbFit(settings, ThumbFit::Crop);
    settings.ThumbBorder = true;
    settings.ThumbBorderWidth = "2";
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1@2x.jpg"), (PictureSize{208, 208}));
    EXPECT_EQ(results.sizes[0].thumbnail, (PictureSize{104, 104})); // the pages show this size

    settings.ThumbBorder = false;
    setThumbFit(settings, ThumbFit::Stretch);
    settings.ThumbWidth.on = false;
    settings.ThumbHeight = {true, "80"};
    entries[0].crop = CropAlign::NoCrop;
    entries[0].rotate = 1;
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{60, 80}));
    EXPECT_EQ(sizeOf("thumb/tn_1@2x.jpg"), (PictureSize{120, 160}));
    EXPECT_EQ(sizeOf("thumb/tn_2@2x.jpg"), (PictureSize{160, 120}));

    // Off, none are made, and "Always overwrite" clears those of earlier builds.
    settings.HiDpiThumbs = false;
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_TRUE(exists("thumb/tn_2.jpg"));
    EXPECT_FALSE(exists("thumb/tn_2@2x.jpg"));
}

TEST_P(PictureStepsTest, ASuffixEndingInTheDoubleSizeMarkCollidesWithNothing) {
    addPicture("one.jpg", 400, 300);
    addPicture("two.jpg", 300, 400);
    settings.ThumbSuffix = "@2x";
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_EQ(sizeOf("thumb/tn_1@2x.jpg"), (PictureSize{100, 75}));
    EXPECT_EQ(sizeOf("thumb/tn_1@2x@2x.jpg"), (PictureSize{200, 150}));
    EXPECT_EQ(sizeOf("thumb/tn_2@2x@2x.jpg"), (PictureSize{150, 200}));
    EXPECT_THAT(frontend.questions, IsEmpty()); // no file was met twice
}

TEST_P(PictureStepsTest, EachDoubleSizeThumbnailFollowsTheOverwriteModeOnItsOwn) {
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"}) {
        addPicture(name, 400, 300);
    }
    fs::create_directories(destination() + "thumb");
    for (const char* file : {"thumb/tn_1@2x.jpg", "thumb/tn_2@2x.jpg", "thumb/tn_9@2x.jpg"}) {
        std::ofstream(destination() + file) << "mine";
    }
    frontend.answerNext(false);
    frontend.answerNext(true);
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_THAT(frontend.questions,
                ElementsAre("Overwrite existing file: " + destination() + "thumb/tn_1@2x.jpg",
                            "Overwrite existing file: " + destination() + "thumb/tn_2@2x.jpg"));
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_1@2x.jpg"), 4u);
    EXPECT_EQ(sizeOf("thumb/tn_2@2x.jpg"), (PictureSize{200, 150}));

    std::ofstream(destination() + "thumb/tn_2@2x.jpg") << "mine";
    ASSERT_TRUE(run(OverwriteMode::AddOnly));
    EXPECT_EQ(fs::file_size(destination() + "thumb/tn_2@2x.jpg"), 4u);

    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(sizeOf("thumb/tn_1@2x.jpg"), (PictureSize{200, 150}));
    EXPECT_FALSE(exists("thumb/tn_9@2x.jpg"));
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
    EXPECT_EQ(results.sizes[0].largePicture, (PictureSize{48, 64}));
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
    EXPECT_EQ(results.sizes[2].thumbnail,
              (PictureSize{43, 30})); // computed and recorded all the same
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
    EXPECT_FALSE(results.sizes[2].largePicture);
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

TEST_P(PictureStepsTest, ARebuildOfAnUnchangedGalleryDecodesNothing) {
    addPictures(3);
    resizeLargePictures();
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 3u);
    const auto built = galleryFiles();
    const auto statuses = frontend.statuses;
    const auto sizes = results.sizes;

    frontend.statuses.clear();
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 0u);
    EXPECT_EQ(galleryFiles(), built);
    EXPECT_EQ(frontend.statuses, statuses);
    EXPECT_EQ(results.sizes[2].thumbnail, sizes[2].thumbnail);
    EXPECT_EQ(results.sizes[2].largePicture, sizes[2].largePicture);
}

TEST_P(PictureStepsTest, OnlyWhatChangedIsMadeAgain) {
    addPictures(3);
    resizeLargePictures();
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    const auto built = galleryFiles();

    entries[1].rotate = 1;
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);
    auto now = galleryFiles();
    EXPECT_NE(now["thumb/tn_2.jpg"], built.at("thumb/tn_2.jpg"));
    EXPECT_EQ(now["thumb/tn_1.jpg"], built.at("thumb/tn_1.jpg"));
    EXPECT_EQ(results.sizes[1].largePicture, (PictureSize{30, 42}));

    // A source written again, even with the same bytes, is read again.
    const auto touched = fs::last_write_time(entries[2].file) + std::chrono::seconds(5);
    fs::last_write_time(entries[2].file, touched);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);

    // A setting of the thumbnails alone makes every thumbnail again.
    settings.ThumbBorder = true;
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 3u);
    now = galleryFiles();
    EXPECT_EQ(now["pic/pic1.jpg"], built.at("pic/pic1.jpg"));
    EXPECT_EQ(results.sizes[0].thumbnail, (PictureSize{43, 32}));

    // So does a thumbnail file changed by hand.
    std::ofstream(destination() + "thumb/tn_1.jpg") << "mine";
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);
    EXPECT_EQ(sizeOf("thumb/tn_1.jpg"), (PictureSize{43, 32}));
}

// Killed builds leave the records they were writing as empty temporary files; the next build
// removes those of ended processes and those too old to be a write under way.
TEST_P(PictureStepsTest, HalfWrittenRecordsOfKilledBuildsAreRemoved) {
    addPictures(1);
    const std::string store = scratch.folder() + "reuse/";
    fs::create_directories(store);
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string live = std::to_string(::getpid());
    const std::string abandoned = store + ".5f3a.rec." + std::to_string(ended) + "-0.tmp";
    const std::string underWay = store + ".9c41.rec." + live + "-0.tmp";
    const std::string forgotten = store + ".77d0.rec." + live + "-1.tmp";
    const std::string notATemporary = store + "notes.tmp";
    for (const std::string* path : {&abandoned, &underWay, &forgotten, &notATemporary}) {
        std::ofstream{*path};
    }
    const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(forgotten, hourAgo);
    fs::last_write_time(notATemporary, hourAgo);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(underWay));
    EXPECT_FALSE(fs::exists(forgotten));
    EXPECT_TRUE(fs::exists(notATemporary));
}

TEST_P(PictureStepsTest, DamagedOrMissingRecordsOnlyCostTime) {
    addPictures(3);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    const auto built = galleryFiles();
    for (const auto& record : fs::directory_iterator(scratch.folder() + "reuse")) {
        std::ofstream(record.path(), std::ios::trunc) << "12:cut short";
    }
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 3u);
    EXPECT_EQ(galleryFiles(), built);
    fs::remove_all(scratch.folder() + "reuse");
    reuse = false;
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 3u);
    EXPECT_EQ(galleryFiles(), built);
}

TEST_P(PictureStepsTest, ASourceReplacedWithinTheSameSecondIsReadAgain) {
    addPictures(2);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    const std::string source = entries[0].file;
    const std::string bytes = testing::readFile(source);
    struct stat before {};
    ASSERT_EQ(::stat(source.c_str(), &before), 0);
    // Same bytes, same size, same second: only the nanoseconds tell the write apart.
    const auto sameSecond = [&](const std::string& path, long nanoseconds) {
        const timespec times[2] = {before.st_atim, {before.st_mtim.tv_sec, nanoseconds}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    };
    sameSecond(source, (before.st_mtim.tv_nsec + 1) % 1000000000);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);

    // Another file moved into its place with the very same time: only the inode differs.
    ASSERT_EQ(::stat(source.c_str(), &before), 0);
    const std::string replacement = scratch.folder() + "replacement.jpg";
    testing::writeFile(replacement, bytes);
    sameSecond(replacement, before.st_mtim.tv_nsec);
    fs::rename(replacement, source);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);

    // A new thumbnail width makes every thumbnail again and keeps the large pictures.
    const auto built = galleryFiles();
    settings.ThumbWidth = {true, "20"};
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 2u);
    EXPECT_EQ(sizeOf("thumb/tn_2.jpg").width, 20);
    EXPECT_EQ(galleryFiles()["pic/pic2.jpg"], built.at("pic/pic2.jpg"));
}

TEST_P(PictureStepsTest, AStoreFromAnotherVersionOrSpoiltIntoAFileIsMadeAgain) {
    addPictures(2);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    const std::string store = scratch.folder() + "reuse";
    for (const auto& record : fs::directory_iterator(store)) {
        std::string text = testing::readFile(record.path());
        text.replace(text.find("record 1"), 8, "record 0");
        testing::writeFile(record.path(), text);
    }
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 2u);

    fs::remove_all(store);
    testing::writeFile(store, "not a folder");
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 2u);
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 0u); // the store was made again
}

TEST_P(PictureStepsTest, TwoBuildsAtOnceShareTheStoreWithoutSpoilingIt) {
    addPictures(4);
    const std::string store = scratch.folder() + "reuse/";
    const auto build = [&](const std::string& folder, PictureResults& into) {
        GallerySettings own = settings;
        own.DestFolder = folder;
        fs::create_directories(folder);
        own.Overwrite = OverwriteMode::Overwrite;
        testing::ScriptedFrontend quiet;
        BuildPlan plan = galleryPlan(own, entries.size(), kProgramFolder, {GetParam()});
        plan.reuseFolder = store;
        const OutputPolicy policy = outputPolicyOf(plan, own, kProgramFolder, {}, quiet);
        return buildPictures(plan, own, entries, pictureFormats(), policy, quiet, into);
    };
    const std::string first = scratch.folder() + "first/";
    const std::string second = scratch.folder() + "second/";
    PictureResults firstResults;
    PictureResults secondResults;
    bool firstDone = false;
    std::thread other([&] { firstDone = build(first, firstResults); });
    EXPECT_TRUE(build(second, secondResults));
    other.join();
    ASSERT_TRUE(firstDone);

    for (const std::string& folder : {first, second}) {
        PictureResults again;
        ASSERT_TRUE(build(folder, again));
        EXPECT_EQ(again.decodedPictures, 0u) << folder;
        EXPECT_EQ(testing::readFile(first + "thumb/tn_4.jpg"),
                  testing::readFile(second + "thumb/tn_4.jpg"));
    }
}

TEST_P(PictureStepsTest, AnOutputMadeAloneEqualsOneMadeWithTheOther) {
    // Large enough that the two outputs alone would each be decoded at another scale.
    addPicture("big.jpg", 1600, 1200);
    resizeLargePictures();
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    const auto built = galleryFiles();
    fs::remove(destination() + "thumb/tn_1.jpg");
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(galleryFiles(), built);
    fs::remove(destination() + "pic/pic1.jpg");
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(galleryFiles(), built);
    fs::remove(destination() + "thumb/tn_1@2x.jpg");
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(results.decodedPictures, 1u);
    EXPECT_EQ(galleryFiles(), built);
}

// A build that ends early leaves the gallery as it would without reuse.
TEST_P(PictureStepsTest, AnEarlyEndLeavesWhatABuildWithoutReuseLeaves) {
    addPictures(6);
    resizeLargePictures();
    const std::string saved = scratch.folder() + "saved";
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    fs::copy(destination(), saved, fs::copy_options::recursive);

    const auto endState = [&](OverwriteMode mode, bool withReuse, bool stop) {
        fs::remove_all(destination());
        fs::copy(saved, destination(), fs::copy_options::recursive);
        frontend = {};
        if (withReuse) {
            // The copy is new to the records; build it once to have them.
            reuse = true;
            run(OverwriteMode::Overwrite);
        }
        reuse = withReuse;
        frontend = {};
        for (int answer = 0; mode == OverwriteMode::Ask && answer < 24; ++answer) {
            frontend.answerNext(answer % 3 != 1);
        }
        const std::string source = entries[3].file;
        fs::rename(source, source + ".away");
        if (stop) {
            fs::rename(source + ".away", source);
            frontend.stopAfterStatus("Generating large picture 2");
            EXPECT_FALSE(run(mode));
        } else {
            EXPECT_THROW(run(mode), ProjectError);
            fs::rename(source + ".away", source);
        }
        // What the user saw must not tell the two apart either.
        return std::tuple(galleryFiles(), frontend.questions, frontend.statuses,
                          frontend.progressValues);
    };
    for (const OverwriteMode mode :
         {OverwriteMode::Ask, OverwriteMode::AddOnly, OverwriteMode::Overwrite}) {
        for (const bool stop : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << "mode " << static_cast<int>(mode) << (stop ? ", stopped" : ", failed"));
            const auto [files, questions, statuses, progress] = endState(mode, true, stop);
            const auto [plainFiles, plainQuestions, plainStatuses, plainProgress] =
                endState(mode, false, stop);
            EXPECT_TRUE(files == plainFiles); // bytes too long to print
            EXPECT_EQ(questions, plainQuestions);
            EXPECT_EQ(statuses, plainStatuses);
            EXPECT_EQ(progress, plainProgress);
        }
    }
}

} // namespace
} // namespace vellumar
