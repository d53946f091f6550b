#include <gtest/gtest.h>

#include "legacy_fixtures.h"
#include "readers/autodesk_reader.h"

namespace vellumar {
namespace {

TEST(AutodeskReader, DecodesCelsAndPictures) {
    testing::expectDecodesToReference("autodesk", {"picture.cel", "picture.ppm"});
    testing::expectDecodesToReference("autodesk", {"picture.pic", "picture.ppm"});
}

TEST(AutodeskReader, RefusesDamagedFiles) {
    for (const char* name : {"truncated.cel", "size-mismatch.cel", "huge.cel"}) {
        SCOPED_TRACE(name);
        testing::expectRefused("autodesk", name);
    }
    testing::expectEmptyInputRefused(AutodeskReader());
}

} // namespace
} // namespace vellumar
