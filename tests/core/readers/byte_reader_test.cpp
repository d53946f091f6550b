#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "readers/byte_reader.h"

namespace vellumar {
namespace {

using ::testing::HasSubstr;

const std::uint8_t kData[] = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFE};

TEST(ByteReader, ReadsLittleAndBigEndianValuesInOrder) {
    ByteReader in(kData);
    EXPECT_EQ(in.u16le(), 0x0201);
    EXPECT_EQ(in.u16be(), 0x0304);
    EXPECT_EQ(in.i32le(), -16777217);
    EXPECT_TRUE(in.atEnd());
    in.seek(0);
    EXPECT_EQ(in.u32be(), 0x01020304u);
    EXPECT_EQ(in.u32le(), 0xFEFFFFFFu);
}

TEST(ByteReader, FailsWithTruncatedInsteadOfReadingPastTheEnd) {
    ByteReader in(kData);
    in.seek(6);
    try {
        in.u32le();
        FAIL() << "read past the end";
    } catch (const ProjectError& error) {
        EXPECT_THAT(error.what(), HasSubstr("truncated"));
    }
    EXPECT_EQ(in.position(), 6u); // a failed read does not move the cursor
    EXPECT_THROW(in.skip(3), ProjectError);
    EXPECT_NO_THROW(in.seek(8));
    EXPECT_THROW(in.u8(), ProjectError);
    EXPECT_THROW(in.seek(9), ProjectError);
}

TEST(ByteReader, SlicesOnlyWhatIsThereWhateverTheOffset) {
    const ByteReader in(kData);
    EXPECT_EQ(in.slice(2, 3).size(), 3u);
    EXPECT_EQ(in.slice(8, 0).size(), 0u);
    EXPECT_THROW(in.slice(6, 3), ProjectError);
    EXPECT_THROW(in.slice(UINT64_MAX, 2), ProjectError);
    EXPECT_THROW(in.slice(2, UINT64_MAX), ProjectError);
    EXPECT_EQ(in.tail(5).size(), 3u);
    EXPECT_THROW(in.tail(9), ProjectError);
    EXPECT_THROW(ByteReader(kData).take(UINT64_MAX), ProjectError);
}

} // namespace
} // namespace vellumar
