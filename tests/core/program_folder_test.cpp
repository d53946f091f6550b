#include <filesystem>

#include <gtest/gtest.h>

#include "program_folder.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;

struct ProgramFolderTest : ::testing::Test {
    void SetUp() override {
        fs::create_directories(root / "cwd");
        fs::create_directories(root / "prefix/bin");
        fs::create_directories(root / "source/data");
    }
    std::string locate() {
        return locateProgramFolder(root / "cwd", root / "prefix/bin", root / "source/data");
    }
    testing::ScratchFolder scratch;
    fs::path root = scratch.path();
};

TEST_F(ProgramFolderTest, CurrentFolderWithStylesComesFirst) {
    fs::create_directories(root / "cwd/template");
    fs::create_directories(root / "prefix/share/vellumar/template");
    EXPECT_EQ(locate(), (root / "cwd").string() + "/");
}

TEST_F(ProgramFolderTest, InstalledDataBesideTheExecutableComesNext) {
    fs::create_directories(root / "prefix/share/vellumar/template");
    fs::create_directories(root / "source/data/template");
    EXPECT_EQ(locate(), (root / "prefix/share/vellumar").string() + "/");
}

TEST_F(ProgramFolderTest, SourceDataServesABuildTree) {
    fs::create_directories(root / "source/data/template");
    EXPECT_EQ(locate(), (root / "source/data").string() + "/");
}

TEST_F(ProgramFolderTest, FallsBackToTheCurrentFolder) {
    EXPECT_EQ(locate(), (root / "cwd").string() + "/");
}

} // namespace
} // namespace vellumar
