#include <filesystem>

#include <gtest/gtest.h>

#include "program_folder.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;

struct ProgramFolderTest : ::testing::Test {
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("vellumar-program-folder-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "cwd");
        fs::create_directories(root / "prefix/bin");
        fs::create_directories(root / "source/data");
    }
    void TearDown() override { fs::remove_all(root); }
    std::string locate() {
        return locateProgramFolder(root / "cwd", root / "prefix/bin", root / "source/data");
    }
    fs::path root;
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
