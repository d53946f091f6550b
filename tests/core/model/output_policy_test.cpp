#include <pwd.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

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

    // A gallery in folder() with the Next button on, whose template copies "plain.css".
    GallerySettings gallerySettings() const {
        GallerySettings settings;
        settings.DestFolder = folder();
        settings.IdxNav[NavLinkKind::Next].file = scratch.folder() + "program/button/next.gif";
        return settings;
    }
    OwnedFiles ownedFiles(const GallerySettings& settings) const {
        return OwnedFiles(settings, outputFoldersOf(settings),
                          {scratch.folder() + "program/template/", {"plain.css"}});
    }
    // The id of a process that has ended.
    static pid_t endedProcess() {
        const pid_t child = ::fork();
        if (child == 0) {
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        return child;
    }

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

TEST_F(OutputPolicyTest, AlwaysOverwriteDeletesOnlyTheGallerysOwnFiles) {
    // The destination is the user's picture folder, the gallery's folders below it.
    const GallerySettings settings = gallerySettings();
    const std::vector<std::string> users = {
        "notes.txt",        "other.vlm",      ".hidden",         "IMG_0001.CR2",
        "holiday.jpg",      "index02.htm",    "pic3.jpg",        "tmp.bmp",
        "index.html",       "tn_1.jpg",       "next.png",        "mine.gif",
        "thumb/notes.txt",  "thumb/tn_0.jpg", "thumb/tn_01.jpg", "thumb/pic1.jpg",
        "pic/pic10000.jpg", "pic/tn_1.jpg",   "pic/Pic1.jpg",    "picpage/index2.htm",
        "picpage/mine.htm"};
    const std::vector<std::string> ours = {
        "index.htm",        "index2.htm",         "index9999.htm",     "PageBG.jpg",
        "PageBG.gif",       "TableBG.jpg",        "plain.css",         "next.gif",
        "thumb/tn_1.jpg",   "thumb/tn_12@2x.jpg", "thumb/tmp.bmp",     "pic/pic1.jpg",
        "pic/pic9999.jpg",  "pic/tmp.bmp",        "picpage/page1.htm", "picpage/PageBG.gif",
        "picpage/plain.css"};
    for (const std::string& file : users) {
        writeFile(folder() + file, file);
    }
    for (const std::string& file : ours) {
        writeFile(folder() + file, file);
    }
    const OutputPolicy ask(OverwriteMode::Ask, frontend, {}, ownedFiles(settings));
    const OutputPolicy overwrite(OverwriteMode::Overwrite, frontend, {}, ownedFiles(settings));
    const OutputFolders folders = outputFoldersOf(settings);
    // Preparing deletes nothing in any mode: the earlier gallery stays whole while the new
    // one is written.
    for (const std::string* gallery :
         {&folders.root, &folders.thumbs, &folders.pictures, &folders.pages}) {
        ask.prepareFolder(*gallery);
        overwrite.prepareFolder(*gallery);
    }
    ask.removeLeftovers(folders);
    for (const std::string& file : ours) {
        EXPECT_TRUE(fs::exists(folder() + file)) << file; // only Always overwrite deletes
    }
    // What the new gallery writes stays, whichever way its path is spelt; the rest of the
    // earlier gallery goes.
    const std::set<std::string> written = {"index.htm", "thumb/tn_1.jpg", "picpage/plain.css"};
    EXPECT_TRUE(overwrite.mayWrite(folder() + "index.htm"));
    EXPECT_TRUE(overwrite.mayWrite(folder() + "thumb/../thumb/tn_1.jpg"));
    overwrite.checkNotProtected(scratch.folder() + "./out/picpage/plain.css");
    overwrite.removeLeftovers(folders);
    for (const std::string& file : users) {
        EXPECT_EQ(readFile(folder() + file), file) << file;
    }
    for (const std::string& file : ours) {
        EXPECT_EQ(fs::exists(folder() + file), written.count(file) > 0) << file;
    }
}

TEST_F(OutputPolicyTest, OwnsNothingOfWhatItCopiesFrom) {
    GallerySettings settings = gallerySettings();
    // A button image and a background chosen from the destination folder itself.
    settings.IdxNav[NavLinkKind::Last].file = folder() + "last.gif";
    settings.PageBGPic = " " + folder() + "PageBG.jpg ";
    writeFile(folder() + "last.gif", "button");
    writeFile(folder() + "PageBG.jpg", "background");
    writeFile(folder() + "next.gif", "copied button");
    OutputPolicy(OverwriteMode::Overwrite, frontend, {}, ownedFiles(settings))
        .removeLeftovers(outputFoldersOf(settings));
    EXPECT_EQ(readFile(folder() + "last.gif"), "button");
    EXPECT_EQ(readFile(folder() + "PageBG.jpg"), "background");
    EXPECT_FALSE(fs::exists(folder() + "next.gif"));
    // A policy that knows no gallery deletes nothing.
    writeFile(folder() + "index.htm", "page");
    OutputPolicy(OverwriteMode::Overwrite, frontend).removeLeftovers(outputFoldersOf(settings));
    EXPECT_TRUE(fs::exists(folder() + "index.htm"));
}

TEST_F(OutputPolicyTest, RemovesSymbolicLinksAsLinks) {
    writeFile(scratch.folder() + "elsewhere/precious.jpg", "precious");
    fs::create_directories(folder());
    fs::create_symlink(scratch.folder() + "elsewhere/precious.jpg", folder() + "index2.htm");
    fs::create_directory_symlink(scratch.folder() + "elsewhere", folder() + "TableBG.jpg");
    fs::create_symlink(scratch.folder() + "nowhere", folder() + "PageBG.gif");
    fs::create_symlink(scratch.folder() + "elsewhere/precious.jpg", folder() + "mine.jpg");
    const GallerySettings settings = gallerySettings();
    OutputPolicy(OverwriteMode::Overwrite, frontend, {}, ownedFiles(settings))
        .removeLeftovers(outputFoldersOf(settings));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "index2.htm")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "TableBG.jpg")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder() + "PageBG.gif")));
    EXPECT_TRUE(fs::is_symlink(folder() + "mine.jpg"));
    EXPECT_EQ(readFile(scratch.folder() + "elsewhere/precious.jpg"), "precious");
}

TEST_F(OutputPolicyTest, NeverDeletesOrReplacesTheProjectsOwnFiles) {
    writeFile(folder() + "PageBG.jpg", "photo");
    writeFile(folder() + "album.vlm", "project");
    writeFile(scratch.folder() + "elsewhere/far.jpg", "far");
    fs::create_symlink(scratch.folder() + "elsewhere/far.jpg", folder() + "TableBG.jpg");
    writeFile(folder() + "index3.htm", "old page");
    std::vector<TImgEntry> entries(2);
    // Named like gallery files, through another spelling of the same folder and a link.
    entries[0].file = scratch.folder() + "out/../out/PageBG.jpg";
    entries[1].file = folder() + "TableBG.jpg";
    const GallerySettings settings = gallerySettings();
    const OutputPolicy policy(OverwriteMode::Overwrite, frontend,
                              projectOwnFiles(entries, folder() + "album.vlm"),
                              ownedFiles(settings));
    policy.removeLeftovers(outputFoldersOf(settings));
    EXPECT_EQ(readFile(folder() + "PageBG.jpg"), "photo");
    EXPECT_EQ(readFile(folder() + "album.vlm"), "project");
    EXPECT_EQ(readFile(folder() + "TableBG.jpg"), "far");
    EXPECT_FALSE(fs::exists(folder() + "index3.htm"));

    try {
        policy.mayWrite(folder() + "PageBG.jpg");
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot write " + folder() + "PageBG.jpg: it is one of the project's own files.");
    }
    // A link that leads to a project file is refused as well.
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
    {
        const testing::ScopedHome scopedHome(scratch.folder() + "home");
        EXPECT_THROW(overwrite.prepareFolder(home), ProjectError);
        OutputPolicy(OverwriteMode::AddOnly, frontend).prepareFolder(home);
        EXPECT_EQ(readFile(home + "letter.txt"), "letter");
    }
    // Without HOME the password database knows the home folder. Only checked, never
    // prepared: the real home folder is at stake.
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const testing::ScopedHome noHome(std::nullopt);
    try {
        overwrite.checkFolderMayBePrepared(std::string(user->pw_dir) + "/");
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("it is your home folder"));
    }
}

TEST_F(OutputPolicyTest, RefusesOutputFoldersThatAreLinks) {
    writeFile(scratch.folder() + "elsewhere/precious.jpg", "precious");
    fs::create_directories(folder());
    fs::create_directory_symlink(scratch.folder() + "elsewhere", folder() + "pic");
    GallerySettings settings = gallerySettings();
    const OutputPolicy addOnly(OverwriteMode::AddOnly, frontend);
    const OutputPolicy overwrite(OverwriteMode::Overwrite, frontend, {}, ownedFiles(settings));
    const std::string refusal =
        "The gallery folder " + folder() + "pic is a link; choose the folder itself.";
    for (const OutputPolicy* policy : {&addOnly, &overwrite}) {
        try {
            policy->checkFoldersMayBePrepared(outputFoldersOf(settings));
            FAIL() << "expected a refusal";
        } catch (const ProjectError& error) {
            EXPECT_EQ(error.what(), refusal);
        }
        EXPECT_THROW(policy->prepareFolder(folder() + "pic/"), ProjectError);
    }
    EXPECT_EQ(readFile(scratch.folder() + "elsewhere/precious.jpg"), "precious");
    fs::remove(folder() + "pic");

    // A link on the way down to the picture pages, and the destination itself.
    settings.PageSub.name = "views/large";
    fs::create_directory_symlink(scratch.folder() + "elsewhere", folder() + "views");
    EXPECT_THROW(addOnly.checkFoldersMayBePrepared(outputFoldersOf(settings)), ProjectError);
    fs::remove(folder() + "views");
    addOnly.checkFoldersMayBePrepared(outputFoldersOf(settings));
    fs::create_directory_symlink(folder(), scratch.folder() + "linked");
    settings.DestFolder = scratch.folder() + "linked/";
    EXPECT_THROW(addOnly.checkFoldersMayBePrepared(outputFoldersOf(settings)), ProjectError);
}

TEST_F(OutputPolicyTest, RemovesTemporaryFilesOfEndedBuildsInEveryMode) {
    const pid_t ended = endedProcess();
    const std::string live = std::to_string(::getpid());
    const std::vector<std::string> abandoned = {".index.htm." + std::to_string(ended) + "-0.tmp",
                                                ".pic1.jpg." + std::to_string(ended) + "-12.tmp"};
    const std::vector<std::string> kept = {
        ".index.htm." + live + "-0.tmp", "index.htm." + std::to_string(ended) + "-0.tmp",
        ".notes." + std::to_string(ended) + ".tmp", "." + std::to_string(ended) + "-0.tmp",
        ".x.1-0.tmp.txt"};
    for (const std::string& name : abandoned) {
        writeFile(folder() + name, "part");
    }
    for (const std::string& name : kept) {
        writeFile(folder() + name, "kept");
    }
    OutputPolicy(OverwriteMode::AddOnly, frontend).prepareFolder(folder());
    for (const std::string& name : abandoned) {
        EXPECT_FALSE(fs::exists(folder() + name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(fs::exists(folder() + name)) << name;
    }
}

} // namespace
} // namespace vellumar
