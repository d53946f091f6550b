#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/output_policy.h"
#include "project_error.h"
#include "support/scoped_home.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::readFile;
using testing::writeFile;

class OutputPolicyTest : public ::testing::Test {
protected:
    std::string folder() const { return scratch.folder() + "out/"; }

    testing::ScratchFolder scratch;
    testing::ScriptedFrontend frontend;
};

TEST_F(OutputPolicyTest, DecidesPerFileByMode) {
    writeFile(folder() + "old.htm", "old");
    const std::string old = folder() + "old.htm";
    const std::string fresh = folder() + "new.htm";

    const OutputPolicy ask(OverwriteMode::Ask, frontend);
    frontend.answerNext(true);
    frontend.answerNext(false);
    EXPECT_TRUE(ask.mayWrite(old));
    EXPECT_FALSE(ask.mayWrite(old));
    EXPECT_TRUE(ask.mayWrite(fresh));
    EXPECT_THAT(frontend.questions,
                ElementsAre("Overwrite existing file: " + old, "Overwrite existing file: " + old));

    const OutputPolicy addOnly(OverwriteMode::AddOnly, frontend);
    EXPECT_FALSE(addOnly.mayWrite(old));
    EXPECT_TRUE(addOnly.mayWrite(fresh));
    const OutputPolicy overwrite(OverwriteMode::Overwrite, frontend);
    EXPECT_TRUE(overwrite.mayWrite(old));
    EXPECT_EQ(frontend.questions.size(), 2u);
}

TEST_F(OutputPolicyTest, CreatesOnlyTheLastFolderLevel) {
    const OutputPolicy policy(OverwriteMode::Ask, frontend);
    policy.prepareFolder(scratch.folder() + "made");
    EXPECT_TRUE(fs::is_directory(scratch.folder() + "made"));
    policy.prepareFolder(scratch.folder() + "no/such/parent/");
    EXPECT_FALSE(fs::exists(scratch.folder() + "no"));
}

TEST_F(OutputPolicyTest, OnlyAlwaysOverwriteEmptiesAFolder) {
    writeFile(folder() + "notes.txt", "stray");
    writeFile(folder() + "thumb/tn_1.jpg", "thumb");
    OutputPolicy(OverwriteMode::Ask, frontend).prepareFolder(folder());
    OutputPolicy(OverwriteMode::AddOnly, frontend).prepareFolder(folder());
    EXPECT_TRUE(fs::exists(folder() + "notes.txt"));
    OutputPolicy(OverwriteMode::Overwrite, frontend).prepareFolder(folder());
    EXPECT_FALSE(fs::exists(folder() + "notes.txt"));
    EXPECT_EQ(readFile(folder() + "thumb/tn_1.jpg"), "thumb");
}

TEST_F(OutputPolicyTest, RemovesSymbolicLinksAsLinks) {
    writeFile(scratch.folder() + "elsewhere/precious.jpg", "precious");
    fs::create_directories(folder());
    fs::create_symlink(scratch.folder() + "elsewhere/precious.jpg", folder() + "link.jpg");
    fs::create_directory_symlink(scratch.folder() + "elsewhere", folder() + "linked-folder");
    fs::create_symlink(scratch.folder() + "nowhere", folder() + "dangling");
    OutputPolicy(OverwriteMode::Overwrite, frontend).prepareFolder(folder());
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "link.jpg")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "linked-folder")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "dangling")));
    EXPECT_EQ(readFile(scratch.folder() + "elsewhere/precious.jpg"), "precious");
}

TEST_F(OutputPolicyTest, NeverDeletesOrReplacesTheProjectsOwnFiles) {
    writeFile(folder() + "photo.jpg", "photo");
    writeFile(folder() + "album.vlm", "project");
    writeFile(scratch.folder() + "elsewhere/far.jpg", "far");
    fs::create_symlink(scratch.folder() + "elsewhere/far.jpg", folder() + "near.jpg");
    writeFile(folder() + "stray.txt", "stray");
    std::vector<TImgEntry> entries(2);
    // Named through another spelling of the same folder, and through a link.
    entries[0].file = scratch.folder() + "out/../out/photo.jpg";
    entries[1].file = folder() + "near.jpg";
    const OutputPolicy policy(OverwriteMode::Overwrite, frontend,
                              projectOwnFiles(entries, folder() + "album.vlm"));
    policy.prepareFolder(folder());
    EXPECT_EQ(readFile(folder() + "photo.jpg"), "photo");
    EXPECT_EQ(readFile(folder() + "album.vlm"), "project");
    EXPECT_EQ(readFile(folder() + "near.jpg"), "far");
    EXPECT_FALSE(fs::exists(folder() + "stray.txt"));

    try {
        policy.mayWrite(folder() + "photo.jpg");
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write " + folder() + "photo.jpg: it is one of the project's own files.");
    }
    // A link that leads to a project picture would be written through.
    fs::create_symlink(folder() + "album.vlm", folder() + "index.htm");
    EXPECT_THROW(policy.mayWrite(folder() + "index.htm"), ProjectError);
    EXPECT_TRUE(policy.mayWrite(folder() + "other.htm"));
}

TEST_F(OutputPolicyTest, AlwaysOverwriteRefusesTheRootAndTheHomeFolder) {
    const OutputPolicy overwrite(OverwriteMode::Overwrite, frontend);
    try {
        overwrite.checkFolderMayBePrepared("/tmp/..");
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("it is the root folder"));
    }
    OutputPolicy(OverwriteMode::Ask, frontend).checkFolderMayBePrepared("/");

    const std::string home = scratch.folder() + "home/";
    writeFile(home + "letter.txt", "letter");
    const testing::ScopedHome scopedHome(scratch.folder() + "home");
    EXPECT_THROW(overwrite.prepareFolder(home), ProjectError);
    OutputPolicy(OverwriteMode::AddOnly, frontend).prepareFolder(home);
    EXPECT_EQ(readFile(home + "letter.txt"), "letter");
}

} // namespace
} // namespace vellumar
