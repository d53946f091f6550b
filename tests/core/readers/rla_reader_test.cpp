#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/rla_reader.h"

namespace vellumar {
namespace {

TEST(RlaReader, DecodesEachChannelLayoutBottomUp) {
    for (const auto& [picture, reference] : {std::pair{"rgb8.rla", "rgb8.ppm"},
                                             {"rgba16.rla", "rgba16.ppm"},
                                             {"grey-aux.rpf", "grey-aux.ppm"}}) {
        SCOPED_TRACE(picture);
        EXPECT_TRUE(testing::matchesPicture(testing::readFixture("rla", picture),
                                            testing::referencePicture("rla", reference)));
    }
}

TEST(RlaReader, SniffsCurrentFilesOnly) {
    const RlaReader reader;
    EXPECT_TRUE(reader.sniff(testing::fixtureBytes("rla", "rgb8.rla")));
    EXPECT_FALSE(reader.sniff(testing::fixtureBytes("psp", "layers-none.psp")));
    EXPECT_FALSE(reader.sniff({}));
}

TEST(RlaReader, RejectsDamagedFiles) {
    const RlaReader reader;
    EXPECT_THAT(testing::decodeError(reader, testing::fixtureBytes("rla", "truncated.rla")),
                ::testing::StartsWith("the file is truncated"));
    EXPECT_THAT(testing::decodeError(reader, testing::fixtureBytes("rla", "offset-past-end.rla")),
                ::testing::StartsWith("the file is truncated"));
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("rla", "run-overrun.rla")),
              "an Alias/Wavefront run reaches past the end of its scan line");
    EXPECT_EQ(testing::decodeError(reader, testing::fixtureBytes("rla", "bits-12.rla")),
              "the Alias/Wavefront picture has 12-bit colour channels (8 and 16 bits can be "
              "read)");
    EXPECT_EQ(testing::decodeError(reader, {}),
              "the file is too short for an Alias/Wavefront header");

    // An active window upside down has no pixels.
    std::vector<std::uint8_t> data = testing::fixtureBytes("rla", "rgb8.rla");
    data[12] = 0x7f;
    EXPECT_THROW(reader.probe({data, ""}), ProjectError);
}

} // namespace
} // namespace vellumar
