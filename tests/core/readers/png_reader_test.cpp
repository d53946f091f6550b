#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project_error.h"
#include "reader_fixtures.h"
#include "readers/png_reader.h"

namespace vellumar {
namespace {

using testing::fixtureBytes;

std::uint64_t bytesPerPixel(const std::string& name) {
    const std::vector<std::uint8_t> bytes = fixtureBytes("png", name);
    const PngReader reader;
    const PictureSource source{bytes, name};
    const PictureSize size = reader.probe(source);
    return reader.decodeMemory(source, size) /
           (static_cast<std::uint64_t>(size.width) * size.height);
}

TEST(PngReader, EveryFixtureDecodesWithinItsBitmap) {
    for (const char* name :
         {"rgb8.png", "palette8.png", "rgba8.png", "gray-alpha8.png", "rgba16.png",
          "gray-alpha16.png", "palette-trns.png", "rgb-trns.png", "interlaced-rgb.png"}) {
        EXPECT_EQ(bytesPerPixel(name), 3u) << name;
    }
}

TEST(PngReader, TruncatedTransparentPictureReadRowByRowFailsWithItsReason) {
    std::vector<std::uint8_t> bytes = fixtureBytes("png", "rgba8.png");
    bytes.resize(bytes.size() * 2 / 3);
    try {
        PngReader().decode({bytes, "rgba8.png"});
        ADD_FAILURE() << "decoded";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()).rfind("the PNG data cannot be decoded: ", 0), 0u)
            << error.what();
    }
}

} // namespace
} // namespace vellumar
