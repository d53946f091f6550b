#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/ico_reader.h"

namespace vellumar {
namespace {

using testing::checkReaderFixtures;
using testing::decodeError;
using ::testing::HasSubstr;

const IcoReader reader;

TEST(IcoReader, DecodesEveryVariantToItsReferenceAndRefusesDamagedFiles) {
    EXPECT_EQ(checkReaderFixtures(reader, "ico"), 11);
}

TEST(IcoReader, SaysWhatIsWrongWithADamagedFile) {
    EXPECT_THAT(decodeError(reader, "ico", "no-pictures.ico"), HasSubstr("no pictures"));
    EXPECT_THAT(decodeError(reader, "ico", "truncated-mask.ico"), HasSubstr("truncated"));
    EXPECT_THAT(decodeError(reader, "ico", "truncated-png.ico"), HasSubstr("PNG"));
    EXPECT_THAT(decodeError(reader, "ico", "png-bomb-20000.ico"), HasSubstr("truncated"));
    EXPECT_THAT(decodeError(reader, "ico", "bomb-65535.ico"), HasSubstr("too large"));
    EXPECT_THAT(decodeError(reader, "ico", "not-an-icon.ico"), HasSubstr("not an icon"));
}

TEST(IcoReader, RefusesEmptyInput) {
    const PictureSource empty;
    EXPECT_THROW(reader.probe(empty), ProjectError);
    EXPECT_THROW(reader.decode(empty), ProjectError);
    EXPECT_FALSE(reader.sniff({}));
}

} // namespace
} // namespace vellumar
