#include <gtest/gtest.h>

#include "model/output_folders.h"

namespace vellumar {
namespace {

TEST(OutputFolders, DerivesEveryFolderFromTheTrimmedDestination) {
    GallerySettings s;
    s.DestFolder = "  /home/ann/gallery ";
    const OutputFolders f = outputFoldersOf(s);
    EXPECT_EQ(f.root, "/home/ann/gallery/");
    EXPECT_EQ(f.thumbs, "/home/ann/gallery/thumb/");
    EXPECT_EQ(f.pictures, "/home/ann/gallery/pic/");
    EXPECT_EQ(f.pages, "/home/ann/gallery/picpage/");
}

TEST(OutputFolders, KeepsAnExistingSeparatorAndIgnoresTheThumbAndPicNames) {
    GallerySettings s;
    s.DestFolder = "/srv/g/";
    s.ThumbSub.name = "small";
    s.PicSub = {true, "large"};
    const OutputFolders f = outputFoldersOf(s);
    EXPECT_EQ(f.thumbs, "/srv/g/thumb/");
    EXPECT_EQ(f.pictures, "/srv/g/pic/");
}

TEST(OutputFolders, PagesUseTheNameEvenWhileTheDestinationIsChosen) {
    GallerySettings s;
    s.DestFolder = "/srv/g";
    s.PageSub = {true, "pages"};
    EXPECT_EQ(outputFoldersOf(s).pages, "/srv/g/pages/");
}

TEST(OutputFolders, PreviewHasTheFixedLayout) {
    const OutputFolders f = previewFolders("/opt/vellumar/preview");
    EXPECT_EQ(f.root, "/opt/vellumar/preview/");
    EXPECT_EQ(f.thumbs, "/opt/vellumar/preview/thumb/");
    EXPECT_EQ(f.pictures, "/opt/vellumar/preview/pic/");
    EXPECT_EQ(f.pages, "/opt/vellumar/preview/picpage/");
}

} // namespace
} // namespace vellumar
