#include <cerrno>
#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/resource_copy.h"
#include "project_error.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"

namespace vellumar {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::readFile;
using testing::writeFile;

TEST(ResourceReferences, FindsQuotedValuesWithAKnownExtension) {
    EXPECT_THAT(resourceReferences(R"(<img src="a.gif"><img src="b.JPG">)"),
                ElementsAre("a.gif", "b.JPG"));
    EXPECT_THAT(resourceReferences(R"(<body background="Paper.GIF">)"), ElementsAre("Paper.GIF"));
    EXPECT_THAT(resourceReferences(R"(<link href="style.css"><script src="img/x.js"></script>)"),
                ElementsAre("style.css", "img/x.js"));
    EXPECT_THAT(resourceReferences(R"(<img src="a.bmp" alt="x.gif">)"),
                ElementsAre("a.bmp", "x.gif"));
    EXPECT_TRUE(resourceReferences("<img src=a.gif>").empty());
    EXPECT_TRUE(resourceReferences(R"(<img src="a.png">)").empty());
    // A value without its own =" start is no reference.
    EXPECT_TRUE(resourceReferences(R"(see b.gif" here)").empty());
}

class ExtractImgFileTest : public ::testing::Test {
protected:
    ExtractImgFileTest() {
        writeFile(program() + "template/frame.gif", "frame");
        writeFile(program() + "template/Style.CSS", "css");
        writeFile(program() + "template/parts/corner.jpg", "corner");
        std::filesystem::create_directories(dest());
    }
    std::string program() const { return scratch.folder() + "program/"; }
    std::string dest() const { return scratch.folder() + "out/"; }

    testing::ScratchFolder scratch;
    testing::ScriptedFrontend frontend;
    OutputPolicy policy{OverwriteMode::AddOnly, frontend};
};

TEST_F(ExtractImgFileTest, CopiesEveryReferenceReplacingOlderFiles) {
    writeFile(dest() + "frame.gif", "old frame");
    ExtractImgFile({R"(<body background="frame.gif">)", "no reference here",
                    R"(<link rel="stylesheet" href="Style.CSS"><img src="frame.gif">)"},
                   program(), "plain", scratch.folder() + "out", policy);
    EXPECT_EQ(readFile(dest() + "frame.gif"), "frame");
    EXPECT_EQ(readFile(dest() + "Style.CSS"), "css");
}

TEST_F(ExtractImgFileTest, AMissingSubFolderIsMadeInsideTheDestination) {
    writeFile(program() + "template/parts/deep/edge.gif", "edge");
    const TemplateLines lines = {R"(<img src="parts/corner.jpg"><img src="parts/deep/edge.gif">)"};
    ExtractImgFile(lines, program(), "plain", dest(), policy);
    EXPECT_EQ(readFile(dest() + "parts/corner.jpg"), "corner");
    EXPECT_EQ(readFile(dest() + "parts/deep/edge.gif"), "edge");

    // A file where the folder would be is named, with the reason.
    const std::string other = scratch.folder() + "other/";
    writeFile(other + "parts", "a file of the user");
    try {
        ExtractImgFile(lines, program(), "plain", other, policy);
        FAIL() << "expected a copy error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(
            std::string(error.what()),
            "Cannot copy the style file \"parts/corner.jpg\" of the style plain: the folder " +
                other + "parts/ cannot be made: " + std::strerror(EEXIST) + ".");
    }
    EXPECT_EQ(readFile(other + "parts"), "a file of the user");
}

TEST_F(ExtractImgFileTest, AMissingResourceStopsWithTheFileNamed) {
    try {
        ExtractImgFile({R"(<img src="missing.gif">)"}, program(), "plain", dest(), policy);
        FAIL() << "expected a copy error";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("template/missing.gif"));
    }
}

TEST_F(ExtractImgFileTest, RefusesNamesOutsideTheTemplateFolderBeforeCopyingAnything) {
    writeFile(scratch.folder() + "secret.gif", "secret");
    for (const std::string bad : {"../secret.gif", "parts/../../secret.gif", "/etc/x.gif"}) {
        SCOPED_TRACE(bad);
        const TemplateLines lines = {R"(<img src="frame.gif">)", "<img src=\"" + bad + "\">"};
        try {
            ExtractImgFile(lines, program(), "plain", dest(), policy);
            FAIL() << "expected a refusal";
        } catch (const ProjectError& error) {
            EXPECT_EQ(std::string(error.what()), "The style plain refers to the file \"" + bad +
                                                     "\", which is not inside " + program() +
                                                     "template/. No style file was copied.");
        }
        EXPECT_FALSE(std::filesystem::exists(dest() + "frame.gif"));
    }
    // Dots inside a name are no folder step.
    writeFile(program() + "template/a..b.gif", "dots");
    ExtractImgFile({R"(<img src="a..b.gif">)"}, program(), "plain", dest(), policy);
    EXPECT_EQ(readFile(dest() + "a..b.gif"), "dots");
}

TEST_F(ExtractImgFileTest, FollowsLinksOnBothSidesBeforeCopyingAnything) {
    std::filesystem::create_symlink("/etc/passwd", program() + "template/linked.css");
    const TemplateLines lines = {R"(<img src="frame.gif">)", R"(<link href="linked.css">)"};
    try {
        ExtractImgFile(lines, program(), "plain", dest(), policy);
        FAIL() << "expected a refusal";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("The style plain refers to the file \"linked.css\""));
    }
    EXPECT_FALSE(std::filesystem::exists(dest() + "frame.gif"));
    EXPECT_FALSE(std::filesystem::exists(dest() + "linked.css"));

    // A folder of the destination that leads elsewhere would take the copy with it.
    std::filesystem::create_directories(scratch.folder() + "elsewhere");
    std::filesystem::create_directory_symlink(scratch.folder() + "elsewhere", dest() + "parts");
    EXPECT_THROW(
        ExtractImgFile({R"(<img src="parts/corner.jpg">)"}, program(), "plain", dest(), policy),
        ProjectError);
    EXPECT_TRUE(std::filesystem::is_empty(scratch.folder() + "elsewhere"));

    // A link in the place of a copied file is replaced; what it leads to stays.
    writeFile(scratch.folder() + "outside.gif", "outside");
    std::filesystem::create_symlink(scratch.folder() + "outside.gif", dest() + "frame.gif");
    ExtractImgFile({R"(<img src="frame.gif">)"}, program(), "plain", dest(), policy);
    EXPECT_FALSE(std::filesystem::is_symlink(dest() + "frame.gif"));
    EXPECT_EQ(readFile(dest() + "frame.gif"), "frame");
    EXPECT_EQ(readFile(scratch.folder() + "outside.gif"), "outside");
}

TEST_F(ExtractImgFileTest, TemplateFilesAreWhatTheTemplateRefersTo) {
    writeFile(program() + "template/plain.htm",
              "<html>\r\n<body background=\"frame.gif\">\r\n<link href=\"Style.CSS\">\r\n");
    const TemplateFiles files = templateFilesOf(program(), "plain");
    EXPECT_EQ(files.folder, program() + "template/");
    EXPECT_THAT(files.names, ElementsAre("frame.gif", "Style.CSS"));
    EXPECT_TRUE(templateFilesOf(program(), "missing").names.empty());
}

TEST_F(ExtractImgFileTest, NeverReplacesAProjectPicture) {
    writeFile(dest() + "frame.gif", "the user's own picture");
    OutputPolicy guarded(OverwriteMode::Overwrite, frontend, {dest() + "frame.gif"});
    EXPECT_THROW(ExtractImgFile({R"(<img src="frame.gif">)"}, program(), "plain", dest(), guarded),
                 ProjectError);
    EXPECT_EQ(readFile(dest() + "frame.gif"), "the user's own picture");
}

} // namespace
} // namespace vellumar
