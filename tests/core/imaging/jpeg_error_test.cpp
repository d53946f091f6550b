#include <jerror.h>
#include <string>

#include <gtest/gtest.h>

#include "imaging/jpeg_error.h"

namespace vellumar {
namespace {

// The JPEG writer reports libjpeg failures as "JPEG error #<code>"; the reader says the
// library's own words instead. Both go through the same error manager.
TEST(JpegErrorManager, TurnsAFatalLibjpegErrorIntoAnExceptionWithTheMessageCode) {
    const unsigned char notJpeg[] = {'a', 'b', 'c', 'd'};
    JpegErrorManager errors;
    jpeg_decompress_struct info{};
    info.err = &errors;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, notJpeg, sizeof notJpeg);
    try {
        jpeg_read_header(&info, TRUE);
        ADD_FAILURE() << "no error raised";
    } catch (const JpegError& error) {
        EXPECT_EQ(error.code(), JERR_NO_SOI);
        EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(JERR_NO_SOI));
        EXPECT_EQ(error.libraryText(), "Not a JPEG file: starts with 0x61 0x62");
    }
    jpeg_destroy_decompress(&info);
}

} // namespace
} // namespace vellumar
