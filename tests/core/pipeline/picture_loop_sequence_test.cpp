#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "picture_steps_fixture.h"
#include "project_error.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// What the user sees of the two picture loops, in the one order it is said, whatever the
// workers do meanwhile.
class PictureLoopSequenceTest : public testing::PictureStepsFixture {
protected:
    // Three pictures whose large pictures are resized, over a gallery that already holds
    // thumbnail 2 and large pictures 1 and 3 of the user's.
    PictureLoopSequenceTest() {
        addPictures(3);
        resizeLargePictures();
        fs::create_directories(destination() + "thumb");
        fs::create_directories(destination() + "pic");
        for (const char* file : {"thumb/tn_2.jpg", "pic/pic1.jpg", "pic/pic3.jpg"}) {
            std::ofstream(destination() + file) << "mine";
        }
    }

    std::string question(const std::string& file) const {
        return "question Overwrite existing file: " + destination() + file;
    }
    bool isMine(const std::string& file) const {
        return testing::readFile(destination() + file) == "mine";
    }
};

INSTANTIATE_TEST_SUITE_P(Workers, PictureLoopSequenceTest, ::testing::Values(1, 4));

TEST_P(PictureLoopSequenceTest, AskAsksAboutEachExistingFileInItsPlace) {
    frontend.answerNext(true);  // thumbnail 2
    frontend.answerNext(false); // large picture 1
    frontend.answerNext(true);  // large picture 3
    ASSERT_TRUE(run(OverwriteMode::Ask));
    EXPECT_THAT(
        frontend.events,
        ElementsAre("status Initializing thumbnails......", "status Generating thumbnail file 1",
                    "progress 33", "status Generating thumbnail file 2", question("thumb/tn_2.jpg"),
                    "progress 67", "status Generating thumbnail file 3", "progress 100",
                    "status Finish", "progress 0", "status Initializing large pictures......",
                    "status Generating large picture 1", question("pic/pic1.jpg"), "progress 33",
                    "status Generating large picture 2", "progress 67",
                    "status Generating large picture 3", question("pic/pic3.jpg"), "progress 100",
                    "status Finish", "progress 0"));
    EXPECT_FALSE(isMine("thumb/tn_2.jpg"));
    EXPECT_TRUE(isMine("pic/pic1.jpg"));
    EXPECT_FALSE(isMine("pic/pic3.jpg"));
}

TEST_P(PictureLoopSequenceTest, AddOnlyAndAlwaysOverwriteSayTheSameWithoutAsking) {
    const std::vector<std::string> said = {"status Initializing thumbnails......",
                                           "status Generating thumbnail file 1",
                                           "progress 33",
                                           "status Generating thumbnail file 2",
                                           "progress 67",
                                           "status Generating thumbnail file 3",
                                           "progress 100",
                                           "status Finish",
                                           "progress 0",
                                           "status Initializing large pictures......",
                                           "status Generating large picture 1",
                                           "progress 33",
                                           "status Generating large picture 2",
                                           "progress 67",
                                           "status Generating large picture 3",
                                           "progress 100",
                                           "status Finish",
                                           "progress 0"};
    ASSERT_TRUE(run(OverwriteMode::AddOnly));
    EXPECT_EQ(frontend.events, said);
    for (const char* file : {"thumb/tn_2.jpg", "pic/pic1.jpg", "pic/pic3.jpg"}) {
        EXPECT_TRUE(isMine(file)) << file;
    }
    EXPECT_EQ(sizeOf("pic/pic2.jpg"), (PictureSize{42, 30}));

    frontend.events.clear();
    ASSERT_TRUE(run(OverwriteMode::Overwrite));
    EXPECT_EQ(frontend.events, said);
    for (const char* file : {"thumb/tn_2.jpg", "pic/pic1.jpg", "pic/pic3.jpg"}) {
        EXPECT_FALSE(isMine(file)) << file;
    }
}

// Large pictures wait on disk beside their targets; one that cannot ends the build where it
// would have been written: after every thumbnail and the large pictures before it.
TEST_P(PictureLoopSequenceTest, ALargePictureThatCannotWaitOnDiskFailsInItsOwnPlace) {
    const std::string blocked = destination() + "pic/pic2.jpg";
    // Every hidden name that large picture 2 could wait under is taken.
    for (int attempt = 0; attempt <= 100; ++attempt) {
        fs::create_directory(temporaryNameFor(blocked, attempt));
    }
    std::vector<std::string> waiting;
    frontend.onStatus = [&](const std::string& status) {
        if (status == "Initializing large pictures......") {
            for (const auto& entry : fs::recursive_directory_iterator(scratch.path())) {
                if (entry.is_regular_file() && entry.path().extension() == ".tmp") {
                    waiting.push_back(fs::relative(entry.path(), destination()).string());
                }
            }
        }
    };
    try {
        run(OverwriteMode::Overwrite, 0);
        FAIL() << "expected the large picture that cannot wait to end the build";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write file \"" + blocked + "\". " + std::strerror(EEXIST));
    }
    std::sort(waiting.begin(), waiting.end());
    const std::string pid = std::to_string(::getpid());
    EXPECT_THAT(waiting,
                ElementsAre("pic/.pic1.jpg." + pid + "-0.tmp", "pic/.pic3.jpg." + pid + "-0.tmp"));
    EXPECT_EQ(frontend.events.back(), "status Generating large picture 2");
    EXPECT_EQ(frontend.progressValues.back(), 33);
    for (const char* file : {"thumb/tn_1.jpg", "thumb/tn_2.jpg", "thumb/tn_3.jpg"}) {
        EXPECT_FALSE(isMine(file)) << file;
    }
    EXPECT_EQ(sizeOf("pic/pic1.jpg"), (PictureSize{41, 30}));
    EXPECT_FALSE(exists("pic/pic2.jpg"));
    // Always overwrite leaves the earlier file until the build has written everything.
    EXPECT_TRUE(isMine("pic/pic3.jpg"));
    for (int attempt = 0; attempt <= 100; ++attempt) {
        fs::remove(temporaryNameFor(blocked, attempt));
    }
    EXPECT_THAT(leftovers(), IsEmpty());
}

} // namespace
} // namespace vellumar
