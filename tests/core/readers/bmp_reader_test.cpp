#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/bmp_reader.h"

namespace vellumar {
namespace {

using testing::checkReaderFixtures;
using testing::decodeFixture;

const BmpReader reader;

TEST(BmpReader, DecodesEveryVariantToItsReferenceAndRefusesDamagedFiles) {
    EXPECT_EQ(checkReaderFixtures(reader, "bmp"), 22);
}

TEST(BmpReader, KeepsThePaletteUpToEightBitsAPixel) {
    for (const char* name : {"pal1.bmp", "pal4.bmp", "pal8.bmp", "rle4.bmp", "rle8.bmp",
                             "os2-v1-pal8.bmp", "pal4-short-palette.bmp"}) {
        EXPECT_EQ(decodeFixture(reader, "bmp", name).layout(), Bitmap::Layout::Palette8) << name;
    }
    for (const char* name : {"rgb16.bmp", "rgb24.bmp", "rgb32.bmp", "rgba32-v5.bmp"}) {
        EXPECT_EQ(decodeFixture(reader, "bmp", name).layout(), Bitmap::Layout::Rgb24) << name;
    }
}

TEST(BmpReader, SaysWhatIsWrongWithADamagedFile) {
    testing::expectDecodeErrors(reader, "bmp",
                                {{"truncated-rle8.bmp", "truncated"},
                                 {"truncated-rows.bmp", "truncated"},
                                 {"bomb-65535.bmp", "too large"},
                                 {"bomb-rows-missing.bmp", "truncated"},
                                 {"depth-7.bmp", "7 bits per pixel"},
                                 {"not-a-bmp.bmp", "not a BMP file"},
                                 {"offset-in-header.bmp", "header"}});
}

TEST(BmpReader, RefusesEmptyInputAndSniffsTheSignature) {
    testing::expectEmptyInputRefused(reader);
    const std::uint8_t gif[] = {'G', 'I', 'F', '8'};
    EXPECT_FALSE(reader.sniff(gif));
}

} // namespace
} // namespace vellumar
