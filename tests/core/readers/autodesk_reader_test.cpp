#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/autodesk_reader.h"

namespace vellumar {
namespace {

TEST(AutodeskReader, DecodesCelsAndPictures) {
    testing::expectDecodesToReference({"autodesk", "picture.cel", "picture.ppm"});
    testing::expectDecodesToReference({"autodesk", "picture.pic", "picture.ppm"});
}

TEST(AutodeskReader, RefusesDamagedFiles) {
    testing::expectRefused(
        "autodesk",
        {{"truncated.cel", "the file is truncated"},
         {"size-mismatch.cel",
          "the Autodesk picture's data size does not match its width and height"},
         {"huge.cel", "the picture is too large (60000 x 60000 pixels; at most 65535 on a side and "
                      "400 million in all)"}});
    testing::expectEmptyInputRefused(AutodeskReader());
}

} // namespace
} // namespace vellumar
