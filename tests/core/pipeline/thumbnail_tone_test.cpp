#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "pipeline/thumbnail_tone.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

// Within a JPEG's error of the colour each channel should have.
void expectNear(std::optional<Color> tone, Color want, const std::string& what) {
    ASSERT_TRUE(tone) << what;
    EXPECT_NEAR(redOf(*tone), redOf(want), 3) << what;
    EXPECT_NEAR(greenOf(*tone), greenOf(want), 3) << what;
    EXPECT_NEAR(blueOf(*tone), blueOf(want), 3) << what;
}

TEST(ThumbnailTone, IsTheMeanColourOfTheThumbnailWhereverItsBytesComeFrom) {
    expectNear(thumbnailTone(encodeJpeg(testing::filledPicture(120, 90, {200, 40, 90})), "a"),
               makeColor(200, 40, 90), "one colour");
    // Half black, half white: the mean, not the colour of most pixels or of a corner.
    Bitmap halves(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            halves.setPixel(x, y, x < 32 ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
        }
    }
    expectNear(thumbnailTone(encodeJpeg(halves), "b"), makeColor(128, 128, 128), "halves");
    // Odd sizes leave partial blocks.
    expectNear(thumbnailTone(encodeJpeg(testing::filledPicture(1, 1, {10, 250, 30})), "c"),
               makeColor(10, 250, 30), "one pixel");

    const testing::ScratchFolder folder;
    const std::string path = (folder.path() / "tn_1.jpg").string();
    const std::vector<std::uint8_t> jpeg = encodeJpeg(testing::markedPicture(100, 75));
    writeFileAtomically(path, jpeg);
    EXPECT_EQ(thumbnailFileTone(path), thumbnailTone(jpeg, path));
}

TEST(ThumbnailTone, NoneForWhatIsNoThumbnail) {
    EXPECT_FALSE(thumbnailTone({}, "empty"));
    const std::vector<std::uint8_t> jpeg = encodeJpeg(testing::filledPicture(40, 30, {1, 2, 3}));
    EXPECT_FALSE(thumbnailTone({jpeg.begin(), jpeg.begin() + 200}, "cut"));
    const std::string text = "not a picture";
    EXPECT_FALSE(thumbnailTone({text.begin(), text.end()}, "text"));

    const testing::ScratchFolder folder;
    EXPECT_FALSE(thumbnailFileTone((folder.path() / "missing.jpg").string()));
    // A header claiming far more pixels than any thumbnail has: not decoded at all.
    std::vector<std::uint8_t> claimed = jpeg;
    for (std::size_t at = 2; at + 9 < claimed.size(); ++at) {
        if (claimed[at] == 0xFF && claimed[at + 1] == 0xC0) {
            claimed[at + 5] = claimed[at + 7] = 0xEA; // 60,000 rows and columns
            claimed[at + 6] = claimed[at + 8] = 0x60;
            break;
        }
    }
    EXPECT_FALSE(thumbnailTone(claimed, "claimed"));
}

} // namespace
} // namespace vellumar
