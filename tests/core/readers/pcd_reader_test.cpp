#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/pcd_reader.h"

namespace vellumar {
namespace {

constexpr std::size_t kOrientationOffset = 0xe02;

// The upright reference as a scan turned `turns` quarter turns would be stood upright.
Bitmap turnedReference(int turns) {
    const Bitmap upright = testing::referencePicture("pcd", "upright.ppm");
    const int w = upright.width();
    const int h = upright.height();
    Bitmap turned = turns % 2 ? Bitmap(h, w) : Bitmap(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Rgb colour = upright.pixel(x, y);
            switch (turns) {
            case 1:
                turned.setPixel(y, w - 1 - x, colour);
                break;
            case 2:
                turned.setPixel(w - 1 - x, h - 1 - y, colour);
                break;
            case 3:
                turned.setPixel(h - 1 - y, x, colour);
                break;
            default:
                turned.setPixel(x, y, colour);
            }
        }
    }
    return turned;
}

TEST(PcdReader, DecodesTheBasePictureUpright) {
    const Bitmap picture = testing::readFixture("pcd", "upright.pcd");
    EXPECT_EQ(picture.width(), 768);
    EXPECT_EQ(picture.height(), 512);
    EXPECT_TRUE(
        testing::matchesPicture(picture, testing::referencePicture("pcd", "upright.ppm"), 1));
}

TEST(PcdReader, StandsATurnedScanUpright) {
    const Bitmap picture = testing::readFixture("pcd", "turned.pcd");
    EXPECT_TRUE(testing::matchesPicture(picture, turnedReference(1), 1));

    std::vector<std::uint8_t> data = testing::fixtureBytes("pcd", "upright.pcd");
    const PcdReader reader;
    for (int turns : {2, 3}) {
        data[kOrientationOffset] = static_cast<std::uint8_t>(0xf0 | turns); // high bits unused
        const PictureSource source{data, "turned.pcd"};
        const Bitmap turned = reader.decode(source);
        EXPECT_EQ(reader.probe(source), (PictureSize{turned.width(), turned.height()}));
        EXPECT_TRUE(testing::matchesPicture(turned, turnedReference(turns), 1)) << turns;
    }
}

TEST(PcdReader, RejectsDamagedFiles) {
    const PcdReader reader;
    EXPECT_TRUE(reader.sniff(testing::fixtureBytes("pcd", "upright.pcd")));
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("pcd", "truncated-base.pcd")),
              "the Photo-CD file ends before its 768 x 512 base picture");
    EXPECT_EQ(reader.probe({testing::fixtureBytes("pcd", "truncated-base.pcd"), ""}),
              (PictureSize{768, 512}));
    const auto unsigned_ = testing::fixtureBytes("pcd", "no-signature.pcd");
    EXPECT_FALSE(reader.sniff(unsigned_));
    EXPECT_EQ(testing::decodeError(reader, unsigned_),
              "the file is not a Photo-CD image pack (no PCD_IPI signature)");
    EXPECT_NE(testing::decodeError(reader, {}), "");
    EXPECT_THROW(reader.probe({{}, ""}), ProjectError);
}

} // namespace
} // namespace vellumar
