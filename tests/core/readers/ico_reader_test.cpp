#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/ico_reader.h"

namespace vellumar {
namespace {

using testing::checkReaderFixtures;

const IcoReader reader;

TEST(IcoReader, DecodesEveryVariantToItsReferenceAndRefusesDamagedFiles) {
    EXPECT_EQ(checkReaderFixtures(reader, "ico"), 11);
}

TEST(IcoReader, SaysWhatIsWrongWithADamagedFile) {
    testing::expectDecodeErrors(reader, "ico",
                                {{"no-pictures.ico", "no pictures"},
                                 {"truncated-mask.ico", "truncated"},
                                 {"truncated-png.ico", "PNG"},
                                 {"png-bomb-20000.ico", "truncated"},
                                 {"bomb-65535.ico", "too large"},
                                 {"not-an-icon.ico", "not an icon"}});
}

TEST(IcoReader, RefusesEmptyInput) {
    testing::expectEmptyInputRefused(reader);
}

} // namespace
} // namespace vellumar
