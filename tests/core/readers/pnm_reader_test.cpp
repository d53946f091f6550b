#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/pnm_reader.h"

namespace vellumar {
namespace {

using testing::checkReaderFixtures;
using testing::decodeFixture;

const PnmReader reader;

TEST(PnmReader, DecodesEveryVariantToItsReferenceAndRefusesDamagedFiles) {
    EXPECT_EQ(checkReaderFixtures(reader, "pnm"), 9);
}

TEST(PnmReader, GivesBitAndGrayMapsAPalette) {
    for (const char* name : {"p1.pbm", "p4.pbm", "p2-maxval15.pgm", "p5-16bit.pgm"}) {
        EXPECT_EQ(decodeFixture(reader, "pnm", name).layout(), Bitmap::Layout::Palette8) << name;
    }
    EXPECT_EQ(decodeFixture(reader, "pnm", "p6.ppm").layout(), Bitmap::Layout::Rgb24);
}

TEST(PnmReader, SaysWhatIsWrongWithADamagedFile) {
    testing::expectDecodeErrors(reader, "pnm",
                                {{"truncated-p6.ppm", "truncated"},
                                 {"bomb-rows-missing.pgm", "truncated"},
                                 {"bomb-65535.ppm", "too large"},
                                 {"maxval-0.pgm", "maximum sample value"},
                                 {"maxval-70000.ppm", "out of range"},
                                 {"stray-character.ppm", "stray character"}});
}

TEST(PnmReader, ReadsSamplesAboveTheMaximumAsTheMaximum) {
    const std::string text = "P2 2 1 100 50 300";
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    const Bitmap bitmap = reader.decode({bytes, ""});
    EXPECT_EQ(bitmap.pixel(0, 0), (Rgb{128, 128, 128}));
    EXPECT_EQ(bitmap.pixel(1, 0), (Rgb{255, 255, 255}));
}

TEST(PnmReader, RefusesEmptyInput) {
    testing::expectEmptyInputRefused(reader);
}

} // namespace
} // namespace vellumar
