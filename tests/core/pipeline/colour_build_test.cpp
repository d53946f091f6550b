#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "colour/colour_conversion.h"
#include "imaging/averaged_stretch.h"
#include "pipeline/build_driver.h"
#include "pipeline/picture_render.h"
#include "readers/jpeg_reader.h"
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

// Outputs come this close to the reference (measured: 0.6 to 1.2 levels, the outputs' own
// JPEG coding included), while ignoring the profiles puts them 5 to 19 levels away.
constexpr double kOutputTolerance = 1.5;

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    const std::string text = testing::readFile(path);
    return {text.begin(), text.end()};
}

// Builds of tagged pictures, through the one build driver.
class ColourBuildTest : public testing::GalleryFixture {
protected:
    ColourBuildTest() {
        installPlainStyle();
        fs::create_directories(dest());
        settings.ThumbWidth = {true, "120"};
        settings.ThumbHeight = {false, "120"};
        settings.ResizePic = true;
        settings.PicWidth = {true, "300"};
        settings.PicHeight = {false, "300"};
        settings.HiDpiThumbs = false;
    }

    void addPicture(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        TImgEntry entry;
        entry.file = scratch.folder() + "photos/" + name;
        testing::writeFile(entry.file, std::string(bytes.begin(), bytes.end()));
        entries.push_back(entry);
    }

    BuildReport build() {
        BuildPlan plan = galleryPlan(settings, entries.size(), program(), {1});
        plan.reuseFolder = scratch.folder() + "reuse/";
        BuildReport report =
            runBuild(plan, {settings, entries, program(), {}, "test"}, pictureFormats(), frontend);
        EXPECT_EQ(report.outcome, BuildOutcome::Finished) << report.error;
        return report;
    }

    testing::ScopedHome home{scratch.folder() + "home"};
};

// The reference: the whole stored picture converted by Little CMS, then reduced the way the
// program reduces.
Bitmap referenceOutput(const std::vector<std::uint8_t>& file,
                       const std::vector<std::uint8_t>& profile, const Bitmap& output,
                       bool toDisplayP3) {
    const Bitmap whole =
        testing::convertedWithLcms(testing::decodeWithLibjpeg(file).picture, profile, toDisplayP3);
    return stretchAveraged(whole, output.width(), output.height());
}

TEST_F(ColourBuildTest, TaggedPhotosComeOutAsAColourManagedConversionWouldShowThem) {
    const Bitmap picture = testing::colourfulPicture(1200, 800);
    for (const auto& profile : {testing::displayP3Profile(), testing::adobeLikeProfile(),
                                testing::proPhotoLikeProfile()}) {
        const auto file = testing::jpegWith(picture, {profile, 1, {}});
        entries.clear();
        addPicture("tagged.jpg", file);
        build();
        for (const std::string output : {"thumb/tn_1.jpg", "pic/pic1.jpg"}) {
            const auto bytes = bytesOf(dest() + output);
            const Bitmap made = testing::decodeWithLibjpeg(bytes).picture;
            const double difference =
                testing::meanDifference(made, referenceOutput(file, profile, made, false));
            EXPECT_LE(difference, kOutputTolerance) << output;
            // Not tagged: sRGB is what every browser assumes.
            EXPECT_TRUE(JpegReader().colour({bytes, output}).isSrgb()) << output;
            // What ignoring the profile would have given is much further off.
            const Bitmap unmanaged = stretchAveraged(testing::decodeWithLibjpeg(file).picture,
                                                     made.width(), made.height());
            EXPECT_GT(testing::meanDifference(made, unmanaged), difference + 2) << output;
        }
    }
}

TEST_F(ColourBuildTest, WideGamutKeepsDisplayP3AndEmbedsOnlyItsProfile) {
    const Bitmap picture = testing::colourfulPicture(600, 400);
    const auto p3 = testing::displayP3Profile();
    const auto tagged = testing::jpegWith(picture, {p3, 4, testing::exifWithInteropIndex("R98")});
    addPicture("p3.jpg", tagged);
    addPicture("plain.jpg", testing::jpegWith(picture, {}));
    build();
    EXPECT_TRUE(JpegReader().colour({bytesOf(dest() + "pic/pic1.jpg"), "pic1"}).isSrgb());

    settings.WideGamut = true;
    const BuildReport wide = build();
    EXPECT_EQ(wide.pictures.decodedPictures, 2u); // the setting is part of the fingerprint
    for (const std::string output : {"thumb/tn_1.jpg", "pic/pic1.jpg"}) {
        const auto bytes = bytesOf(dest() + output);
        const ColourDescription carried = JpegReader().colour({bytes, output});
        EXPECT_EQ(carried.icc, embeddedProfileOf(ColourSpace::DisplayP3)) << output;
        const Bitmap made = testing::decodeWithLibjpeg(bytes).picture;
        EXPECT_LE(testing::meanDifference(made, referenceOutput(tagged, p3, made, true)),
                  kOutputTolerance)
            << output;
        // Nothing else about the picture is written.
        const std::string text(bytes.begin(), bytes.end());
        for (const char* trace : {"Exif", "xmpmeta", "R98"}) {
            EXPECT_THAT(text, Not(HasSubstr(trace))) << output;
        }
    }
    // An sRGB picture stays untagged.
    for (const std::string output : {"thumb/tn_2.jpg", "pic/pic2.jpg"}) {
        EXPECT_TRUE(JpegReader().colour({bytesOf(dest() + output), output}).isSrgb()) << output;
    }
    // Built again unchanged, every output is taken as it is.
    EXPECT_EQ(build().pictures.decodedPictures, 0u);
}

TEST_F(ColourBuildTest, ADamagedProfileIsToldOnceAndShownAsSrgb) {
    std::vector<std::uint8_t> cut = testing::displayP3Profile();
    cut.resize(100);
    const Bitmap picture = testing::colourfulPicture(200, 100);
    const auto file = testing::jpegWith(picture, {cut, 1, {}});
    addPicture("damaged.jpg", file);
    build();
    EXPECT_EQ(frontend.notices,
              std::vector<std::string>{"The colour profile of " + entries[0].file +
                                       " is damaged; its colours are shown as sRGB."});
    const Bitmap made = testing::decodeWithLibjpeg(bytesOf(dest() + "pic/pic1.jpg")).picture;
    const Bitmap asSrgb =
        stretchAveraged(testing::decodeWithLibjpeg(file).picture, made.width(), made.height());
    EXPECT_LE(testing::meanDifference(made, asSrgb), kOutputTolerance);
}

TEST_F(ColourBuildTest, EveryOutputOfOneRenderSharesItsColourSpace) {
    const Bitmap picture = testing::colourfulPicture(400, 300);
    addPicture("adobe.jpg",
               testing::jpegWith(picture, {{}, 1, testing::exifWithInteropIndex("R03")}));
    RenderRequest request;
    request.path = entries[0].file;
    request.thumbnail = PictureBox{100, 100, true, 0, kWhite};
    request.doubleSizeThumbnail = true;
    request.largePicture = true;
    request.wideGamut = true;
    const RenderedOutputs outputs = renderPicture(request, pictureFormats());
    for (const auto* output :
         {&outputs.thumbnail, &outputs.doubleSizeThumbnail, &outputs.largePicture}) {
        ASSERT_TRUE(output->has_value());
        EXPECT_EQ(JpegReader().colour({(*output)->bytes, "output"}).icc,
                  embeddedProfileOf(ColourSpace::DisplayP3));
    }
    EXPECT_EQ(outputs.colourNotice, "");
}

} // namespace
} // namespace vellumar
