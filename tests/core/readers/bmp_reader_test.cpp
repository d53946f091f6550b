#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/bmp_reader.h"

namespace vellumar {
namespace {

using testing::checkReaderFixtures;
using testing::decodeError;
using testing::decodeFixture;
using ::testing::HasSubstr;

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
    EXPECT_THAT(decodeError(reader, "bmp", "truncated-rle8.bmp"), HasSubstr("truncated"));
    EXPECT_THAT(decodeError(reader, "bmp", "truncated-rows.bmp"), HasSubstr("truncated"));
    EXPECT_THAT(decodeError(reader, "bmp", "bomb-65535.bmp"), HasSubstr("too large"));
    EXPECT_THAT(decodeError(reader, "bmp", "bomb-rows-missing.bmp"), HasSubstr("truncated"));
    EXPECT_THAT(decodeError(reader, "bmp", "depth-7.bmp"), HasSubstr("7 bits per pixel"));
    EXPECT_THAT(decodeError(reader, "bmp", "not-a-bmp.bmp"), HasSubstr("not a BMP file"));
    EXPECT_THAT(decodeError(reader, "bmp", "offset-in-header.bmp"), HasSubstr("header"));
}

TEST(BmpReader, RefusesEmptyInputAndSniffsTheSignature) {
    const PictureSource empty;
    EXPECT_THROW(reader.probe(empty), ProjectError);
    EXPECT_THROW(reader.decode(empty), ProjectError);
    EXPECT_FALSE(reader.sniff({}));
    const std::uint8_t gif[] = {'G', 'I', 'F', '8'};
    EXPECT_FALSE(reader.sniff(gif));
}

} // namespace
} // namespace vellumar
