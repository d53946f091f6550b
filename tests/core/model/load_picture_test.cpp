#include <gtest/gtest.h>

#include "model/load_picture.h"
#include "project_error.h"
#include "readers/reader_table.h"

namespace vellumar {
namespace {

TEST(LoadPicture, StoresTheTrimmedPathBackEvenWhenReadingFails) {
    TImgEntry entry;
    entry.file = " \t/pictures/holiday.xyz \r\n";
    try {
        LoadPicture(entry, pictureFormats());
        FAIL() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()), "Unknown picture file extension (.xyz)");
    }
    EXPECT_EQ(entry.file, "/pictures/holiday.xyz");
}

} // namespace
} // namespace vellumar
