#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "file_io.h"
#include "project_error.h"
#include "support/scratch_folder.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing::readFile;
using testing::writeFile;

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ProjectError& error) {
        return error.what();
    }
    return "no failure";
}

// A small file system of its own, so that a disk can be filled without filling the machine's.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder) : m_folder(folder) {
        fs::create_directories(folder);
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (m_mounted) {
            ::umount(m_folder.c_str());
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

TEST(FileIo, AFullDiskKeepsTheEarlierFileAndSaysWhy) {
    testing::ScratchFolder scratch;
    const std::string disk = scratch.folder() + "disk/";
    const SmallDisk small(disk);
    if (!small.mounted()) {
        GTEST_SKIP() << "mounting a tmpfs needs root: " << std::strerror(errno);
    }
    writeTextLines(disk + "index.htm", {"<html>", "complete", "</html>"});
    const std::vector<std::string> bigPage(20000, "a line of a page that does not fit");
    EXPECT_EQ(failureOf([&] { writeTextLines(disk + "index.htm", bigPage); }),
              "Cannot write file \"" + disk + "index.htm\". No space left on device");
    EXPECT_EQ(readFile(disk + "index.htm"), "<html>\r\ncomplete\r\n</html>\r\n");

    writeFile(scratch.folder() + "big.css", std::string(200000, 'x'));
    writeFile(disk + "plain.css", "body {}");
    EXPECT_EQ(
        failureOf([&] { copyFileReplacing(scratch.folder() + "big.css", disk + "plain.css"); }),
        "Cannot copy " + scratch.folder() + "big.css to " + disk +
            "plain.css: No space left on device");
    EXPECT_EQ(readFile(disk + "plain.css"), "body {}");
    EXPECT_THAT(filesIn(disk), ElementsAre("index.htm", "plain.css"));
}

TEST(FileIo, CopiesOnlyRegularFilesAndNothingOntoItself) {
    testing::ScratchFolder scratch;
    const std::string folder = scratch.folder();
    writeFile(folder + "style.css", "body {}");
    copyFileReplacing(folder + "style.css", folder + "style.css");
    fs::create_symlink(folder + "style.css", folder + "alias.css");
    copyFileReplacing(folder + "style.css", folder + "./style.css");
    EXPECT_EQ(readFile(folder + "style.css"), "body {}");

    // A link in the destination's place is replaced by a copy, even one leading to the source.
    copyFileReplacing(folder + "style.css", folder + "alias.css");
    EXPECT_FALSE(fs::is_symlink(folder + "alias.css"));
    EXPECT_EQ(readFile(folder + "alias.css"), "body {}");

    ASSERT_EQ(::mkfifo((folder + "pipe.css").c_str(), 0600), 0);
    EXPECT_EQ(failureOf([&] { copyFileReplacing(folder + "pipe.css", folder + "copy.css"); }),
              "Cannot copy " + folder + "pipe.css to " + folder + "copy.css: not a regular file");
    EXPECT_EQ(failureOf([&] { copyFileReplacing(folder + "gone.css", folder + "copy.css"); }),
              "Cannot copy " + folder + "gone.css to " + folder +
                  "copy.css: No such file or directory");
    EXPECT_FALSE(fs::exists(folder + "copy.css"));
}

TEST(FileIo, ReadsOnlyRegularFilesAndNoMoreThanTheyHold) {
    testing::ScratchFolder scratch;
    const std::string folder = scratch.folder();
    // A pipe would block the open until a writer came; a device would be read without end.
    ASSERT_EQ(::mkfifo((folder + "pipe.jpg").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", folder + "zero.jpg");
    for (const std::string name : {"pipe.jpg", "zero.jpg"}) {
        EXPECT_EQ(failureOf([&] { readFileBytes(folder + name); }),
                  "Cannot open file " + folder + name + ": not a regular file");
        EXPECT_EQ(failureOf([&] { readTextFile(folder + name, 1000); }),
                  "Cannot read file " + folder + name + ": not a regular file");
    }
    fs::create_directory(folder + "folder.jpg");
    EXPECT_EQ(failureOf([&] { readFileBytes(folder + "folder.jpg"); }),
              "Cannot open file " + folder + "folder.jpg: not a regular file");

    writeFile(folder + "small.jpg", "12345");
    EXPECT_EQ(readFileBytes(folder + "small.jpg"),
              (std::vector<std::uint8_t>{'1', '2', '3', '4', '5'}));
    EXPECT_EQ(readFileBytes(folder + "small.jpg", 2).size(), 2u);
    EXPECT_EQ(failureOf([&] { readTextFile(folder + "small.jpg", 4); }),
              "Cannot read file " + folder + "small.jpg: it is larger than 4 bytes.");
}

TEST(FileIo, AnOpenFileIsReadAtOffsetsAsItWasWhenOpened) {
    testing::ScratchFolder scratch;
    const std::string path = scratch.folder() + "growing.bmp";
    writeFile(path, "0123456789");
    const ReadOnlyFile file(path);
    writeFile(path, "0123456789 and more written after the open");
    std::vector<std::uint8_t> out(4);
    EXPECT_EQ(file.size(), 10u);
    EXPECT_EQ(file.readAt(3, out), 4u);
    EXPECT_THAT(out, ElementsAre('3', '4', '5', '6'));
    EXPECT_EQ(file.readAt(8, out), 2u);
    EXPECT_EQ(file.readAt(10, out), 0u);
    EXPECT_EQ(file.readAt(UINT64_MAX, out), 0u);
    EXPECT_EQ(failureOf([&] { ReadOnlyFile(scratch.folder() + "gone.bmp"); }),
              "Cannot open file " + scratch.folder() + "gone.bmp: No such file or directory");
}

} // namespace
} // namespace vellumar
