#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "imaging/jpeg_writer.h"
#include "pipeline/build_driver.h"
#include "project_error.h"
#include "readers/reader_table.h"
#include "support/colour_fixtures.h"
#include "support/gallery_fixture.h"
#include "support/libjpeg_decode.h"
#include "support/scoped_home.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// The cell of the bundled styles: the picture's other formats and widths around its <img>.
const std::vector<std::string> kCandidateStyle = {
    "<html><body><table>",
    "<%thumb cell begin%>",
    R"(<td><%thumb picture%><img src="<%thumb file%>" srcset="<%thumb srcset%><%pic srcset%>")"
    R"(<%pic sizes%> width="<%thumb width%>" height="<%thumb height%>"><%thumb picture end%></td>)",
    "<%thumb cell end%>",
    "</table></body></html>",
};

// Builds of pictures whose large pictures get smaller copies, through the one build driver.
class ResponsiveBuildTest : public testing::GalleryFixture {
protected:
    ResponsiveBuildTest() {
        writeStyle(testing::crlfText(kCandidateStyle));
        fs::create_directories(dest());
        settings.ThumbWidth = {true, "120"};
        settings.ThumbHeight = {false, "120"};
        settings.ResizePic = false;
        settings.HiDpiThumbs = false;
        settings.ResponsiveWidths = {640, 1280, 1920};
        settings.ModernFormats = ModernFormatChoice::None;
    }

    void addPhoto(const std::string& name, int width, int height) {
        TImgEntry entry;
        entry.file = scratch.folder() + "photos/" + name;
        const std::vector<std::uint8_t> jpeg =
            encodeJpeg(testing::colourfulPicture(width, height), JpegCoding::Standard);
        testing::writeFile(entry.file, std::string(jpeg.begin(), jpeg.end()));
        entries.push_back(entry);
    }

    testing::DecodedJpeg decodedOutput(const std::string& name) {
        const std::string text = testing::readFile(dest() + name);
        return testing::decodeWithLibjpeg(std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    BuildReport build() {
        BuildPlan plan = galleryPlan(settings, entries.size(), program(), {1});
        plan.reuseFolder = scratch.folder() + "reuse/";
        BuildReport report =
            runBuild(plan, {settings, entries, program(), {}, "test"}, pictureFormats(), frontend);
        EXPECT_EQ(report.outcome, BuildOutcome::Finished) << report.error;
        return report;
    }

    std::string picturePage(int n) {
        return testing::readFile(dest() + "picpage/page" + std::to_string(n) + ".htm");
    }

    testing::ScopedHome home{scratch.folder() + "home"};
};

TEST_F(ResponsiveBuildTest, LargePicturesGetCopiesAtEveryNarrowerWidthThatPagesOffer) {
    addPhoto("wide.jpg", 1600, 1200);
    addPhoto("small.jpg", 500, 300);
    settings.Overwrite = OverwriteMode::Overwrite;
    build();

    for (const auto& [width, height] : {std::pair{640, 480}, {1280, 960}}) {
        const std::string copy = "pic/pic1-" + std::to_string(width) + ".jpg";
        const testing::DecodedJpeg decoded = decodedOutput(copy);
        EXPECT_EQ(decoded.picture.width(), width) << copy;
        EXPECT_EQ(decoded.picture.height(), height) << copy;
    }
    EXPECT_FALSE(fs::exists(dest() + "pic/pic1-1920.jpg")); // as wide as the picture or wider
    EXPECT_FALSE(fs::exists(dest() + "pic/pic2-640.jpg"));

    EXPECT_THAT(picturePage(1),
                HasSubstr(R"(srcset="../pic/pic1-640.jpg 640w, ../pic/pic1-1280.jpg 1280w, )"
                          R"(../pic/pic1.jpg 1600w" sizes="min(1600px, 100vw, )"));
    // A picture without copies, and an index page, show what they always showed.
    EXPECT_THAT(picturePage(2), HasSubstr(R"(<td><img src="../pic/pic2.jpg" srcset="" width=)"));
    EXPECT_THAT(testing::readFile(dest() + "index.htm"),
                HasSubstr(R"(<td><img src="thumb/tn_1.jpg" srcset="" width="120" )"));
}

TEST_F(ResponsiveBuildTest, ARebuildReusesEveryCopyAndDecodesNothing) {
    addPhoto("wide.jpg", 1600, 1200);
    addPhoto("small.jpg", 500, 300); // no copies at all, which is no reason to decode it again
    settings.Overwrite = OverwriteMode::Overwrite;
    EXPECT_EQ(build().pictures.decodedPictures, 2u);
    EXPECT_EQ(build().pictures.decodedPictures, 0u);

    // A copy that is gone is made again, and only it.
    const std::string copy = dest() + "pic/pic1-640.jpg";
    const std::string before = testing::readFile(copy);
    fs::remove(copy);
    fs::remove_all(scratch.folder() + "reuse");
    settings.ResponsiveWidths = {640, 1280, 1920};
    EXPECT_EQ(build().pictures.decodedPictures, 2u);
    EXPECT_EQ(testing::readFile(copy), before);
}

TEST_F(ResponsiveBuildTest, CopiesOfResizedPicturesKeepTheirShapeAndBorder) {
    addPhoto("portrait.jpg", 900, 1600);
    settings.Overwrite = OverwriteMode::Overwrite;
    settings.ResizePic = true;
    settings.PicWidth = {true, "1000"};
    settings.PicHeight = {true, "1000"};
    settings.PicKeepRatio = true;
    settings.PicBorder = true;
    settings.PicBorderWidth = "10";
    entries[0].rotate = 1; // a quarter turn: 1000 x 562 inside the border
    build();

    const testing::DecodedJpeg large = decodedOutput("pic/pic1.jpg");
    ASSERT_EQ(large.picture.width(), 1020);
    const testing::DecodedJpeg copy = decodedOutput("pic/pic1-640.jpg");
    EXPECT_EQ(copy.picture.width(), 640);
    EXPECT_EQ(copy.picture.height(), (large.picture.height() * 640 + 510) / 1020);
}

TEST_F(ResponsiveBuildTest, ProjectsWithoutTheNewSettingsWriteOnlyWhatTheyAlwaysWrote) {
    addPhoto("wide.jpg", 1600, 1200);
    settings.Overwrite = OverwriteMode::Overwrite;
    settings.ResponsiveWidths = {};
    settings.KeepOriginalJpeg = false;
    build();
    std::vector<std::string> pictures;
    for (const char* folder : {"thumb", "pic"}) {
        for (const auto& entry : fs::directory_iterator(dest() + folder)) {
            pictures.push_back(fs::relative(entry.path(), dest()).string());
        }
    }
    EXPECT_THAT(pictures, ::testing::UnorderedElementsAre("thumb/tn_1.jpg", "pic/pic1.jpg"));
    EXPECT_THAT(picturePage(1), Not(HasSubstr("sizes=")));
    EXPECT_THAT(picturePage(1), Not(HasSubstr("<picture>")));
}

TEST_F(ResponsiveBuildTest, CopiesTooWideForAModernFormatAreRefusedBeforeAnythingIsWritten) {
    addPhoto("wide.jpg", 64, 48);
    settings.ResponsiveWidths = {640, 20000};
    settings.ModernFormats = ModernFormatChoice::Webp;
    try {
        galleryPlan(settings, entries.size(), program(), {1});
        ADD_FAILURE() << "the plan was made";
    } catch (const ProjectError& error) {
        EXPECT_STREQ(error.what(), "The smaller copies of large pictures cannot be 20000 pixels "
                                   "wide: a WebP side holds at most 16383 pixels.");
    }
    settings.ModernFormats = ModernFormatChoice::None; // a JPEG holds them
    EXPECT_NO_THROW(galleryPlan(settings, entries.size(), program(), {1}));
}

} // namespace
} // namespace vellumar
