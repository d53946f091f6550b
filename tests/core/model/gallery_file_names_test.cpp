#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/gallery_file_names.h"
#include "model/output_folders.h"
#include "model/output_name_check.h"
#include "project_error.h"

namespace vellumar {
namespace {

TEST(GalleryFileNames, RecogniseEveryNumberAListCanHoldAndNothingElse) {
    GallerySettings settings;
    settings.ThumbPrefix = "tn_";
    settings.ThumbSuffix = "_s";
    EXPECT_EQ(thumbnailFileName(settings, 12), "tn_12_s.jpg");
    EXPECT_EQ(doubleSizeThumbnailFileName(settings, 12), "tn_12_s@2x.jpg");
    for (const char* ours : {"tn_1_s.jpg", "tn_9999_s.jpg", "tn_3_s@2x.jpg"}) {
        EXPECT_TRUE(isThumbnailFileName(settings, ours)) << ours;
    }
    for (const char* theirs : {"tn_0_s.jpg", "tn_01_s.jpg", "tn_10000_s.jpg", "tn__s.jpg",
                               "tn_1.jpg", "tn_1_s.JPG", "tn_1_s@3x.jpg", "xtn_1_s.jpg"}) {
        EXPECT_FALSE(isThumbnailFileName(settings, theirs)) << theirs;
    }
    // Without prefix and suffix a thumbnail is a bare number.
    settings.ThumbPrefix = settings.ThumbSuffix = "";
    EXPECT_TRUE(isThumbnailFileName(settings, "7.jpg"));
    EXPECT_FALSE(isThumbnailFileName(settings, "IMG_0007.jpg"));

    EXPECT_TRUE(isLargePictureFileName("pic40.jpg"));
    EXPECT_FALSE(isLargePictureFileName("pic0040.jpg"));
    EXPECT_FALSE(isLargePictureFileName("picnic.jpg"));
    // Their smaller copies, and the other formats of those and of thumbnails.
    EXPECT_EQ(responsiveCopyFileName(3, 640), "pic3-640.jpg");
    EXPECT_EQ(inFormat(responsiveCopyFileName(3, 640), ImageFormat::Avif), "pic3-640.avif");
    for (const char* ours : {"pic3-640.jpg", "pic3-640.webp", "pic9999-65500.avif"}) {
        EXPECT_TRUE(isLargePictureFileName(ours)) << ours;
    }
    for (const char* theirs : {"pic3.webp", "pic3-0.jpg", "pic3-065.jpg", "pic3-65501.jpg",
                               "pic-640.jpg", "pic3-640.png", "pic3--640.jpg"}) {
        EXPECT_FALSE(isLargePictureFileName(theirs)) << theirs;
    }
    settings.ThumbPrefix = "tn_";
    settings.ThumbSuffix = "";
    EXPECT_EQ(inFormat(doubleSizeThumbnailFileName(settings, 2), ImageFormat::Webp),
              "tn_2@2x.webp");
    EXPECT_TRUE(isThumbnailFileName(settings, "tn_2@2x.webp"));
    EXPECT_TRUE(isThumbnailFileName(settings, "tn_2.avif"));
    EXPECT_FALSE(isThumbnailFileName(settings, "tn_2.gif"));
    EXPECT_TRUE(isPicturePageFileName("page2.htm"));
    EXPECT_FALSE(isPicturePageFileName("page2.html"));

    settings.IdxFileName = "gallery.htm";
    EXPECT_EQ(indexPageFileName(settings, 1), "gallery.htm");
    EXPECT_EQ(indexPageFileName(settings, 3), "index3.htm");
    EXPECT_TRUE(isIndexPageFileName(settings, "gallery.htm"));
    EXPECT_TRUE(isIndexPageFileName(settings, "index2.htm"));
    EXPECT_FALSE(isIndexPageFileName(settings, "index1.htm")); // page 1 has the setting's name
    EXPECT_FALSE(isIndexPageFileName(settings, "index.htm"));
}

// Pages link a picture's files by address from the root, builds write them into their folders:
// the two must meet.
TEST(GalleryFileNames, AddressesLeadToTheFilesTheBuildsWrite) {
    GallerySettings settings;
    settings.ThumbPrefix = "tn_";
    settings.ThumbSuffix = "_s";
    const OutputFolders folders = previewFolders("/gallery/");
    EXPECT_EQ(thumbnailAddress(settings, 3), "thumb/tn_3_s.jpg");
    EXPECT_EQ(folders.root + thumbnailAddress(settings, 3),
              folders.thumbs + thumbnailFileName(settings, 3));
    EXPECT_EQ(folders.root + doubleSizeThumbnailAddress(settings, 3),
              folders.thumbs + doubleSizeThumbnailFileName(settings, 3));
    EXPECT_EQ(largePictureAddress(40), "pic/pic40.jpg");
    EXPECT_EQ(folders.root + largePictureAddress(40), folders.pictures + largePictureFileName(40));
}

TEST(GalleryFileNames, CopiedButtonsAreTheLinksThatAreOnInCopyOrder) {
    GallerySettings settings;
    settings.IdxNav[NavLinkKind::Next].file = "/prog/button/next.gif";
    settings.IdxNav[NavLinkKind::Index].file = "/prog/button/never.gif"; // no index link there
    settings.PageNavLinks[NavLinkKind::Index].file = "/prog/button/index.gif";
    settings.PageNavLinks[NavLinkKind::Home].file = "/prog/button/home.gif";
    std::vector<std::string> names;
    for (const TNavLink* link : copiedButtons(settings)) {
        names.push_back(buttonFileName(*link));
    }
    EXPECT_THAT(names, ::testing::ElementsAre("next.gif", "home.gif", "index.gif"));
}

TEST(OutputNameCheck, RefusesNamesThatLeaveTheirFolderNamingTheSetting) {
    const auto refusal = [](GallerySettings settings) -> std::string {
        try {
            checkOutputNames(settings);
        } catch (const ProjectError& error) {
            return error.what();
        }
        return "accepted";
    };
    GallerySettings settings;
    EXPECT_EQ(refusal(settings), "accepted");

    GallerySettings bad = settings;
    bad.IdxFileName = "../outside_index.htm";
    EXPECT_EQ(refusal(bad),
              "The setting IdxFileName must be a plain file name, not ../outside_index.htm.");
    for (const std::string& name : {std::string(), std::string("."), std::string(".."),
                                    std::string("/etc/index.htm"), std::string("a\0b", 3)}) {
        bad.IdxFileName = name;
        EXPECT_NE(refusal(bad), "accepted") << name;
    }
    // A page written in the place of the build lock would be written into by the next build.
    bad.IdxFileName = ".vellumar-build.lock";
    EXPECT_EQ(refusal(bad), "The setting IdxFileName must be another name than that of the "
                            "build lock, not .vellumar-build.lock.");
    bad = settings;
    bad.ThumbPrefix = "../../escaped_";
    EXPECT_EQ(refusal(bad),
              "The setting ThumbPrefix must be part of a plain file name, not ../../escaped_.");
    bad = settings;
    bad.ThumbSuffix = "/../x";
    EXPECT_EQ(refusal(bad),
              "The setting ThumbSuffix must be part of a plain file name, not /../x.");
    bad = settings;
    for (const char* folder : {"../x", "/tmp/x", "views/../../x", "views/.."}) {
        bad.PageSub.name = folder;
        EXPECT_EQ(refusal(bad), "The setting PageSub must be a folder name inside the destination "
                                "folder, not " +
                                    std::string(folder) + ".");
    }
    bad.PageSub.name = "vues/d\xE9tail";
    EXPECT_EQ(refusal(bad), "The setting PageSub must be UTF-8 text, not vues/d\\xE9tail.");

    // Dots inside names, empty parts and folders below the destination stay inside.
    GallerySettings fine = settings;
    fine.IdxFileName = "..index.htm";
    fine.ThumbPrefix = "..";
    fine.ThumbSuffix = "";
    fine.ThumbSuffix = "_caf\xC3\xA9";
    for (const char* folder : {"", ".", "views/large", "a..b", "vues/d\xC3\xA9tail"}) {
        fine.PageSub.name = folder;
        EXPECT_EQ(refusal(fine), "accepted") << folder;
    }
}

} // namespace
} // namespace vellumar
