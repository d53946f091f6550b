#include <gtest/gtest.h>

#include "model/picture_failures.h"

namespace vellumar {
namespace {

TEST(PictureFailuresTest, EveryListedReasonNamesItsFile) {
    const std::vector<PictureFailure> failures = {
        {"/p/a.jpg", "Cannot read picture /p/a.jpg: the file is truncated"},
        {"/p/b.png", "JPEG error #41"}};
    EXPECT_EQ(failureListMessage("These 2 pictures cannot be read:", failures),
              "These 2 pictures cannot be read:\n"
              "Cannot read picture /p/a.jpg: the file is truncated\n"
              "/p/b.png: JPEG error #41");
}

} // namespace
} // namespace vellumar
