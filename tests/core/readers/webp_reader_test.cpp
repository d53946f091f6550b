#include <cstdint>
#include <string>
#include <vector>
#include <webp/decode.h>
#include <webp/encode.h>

#include <gtest/gtest.h>

#include "gradient_pictures.h"
#include "reader_fixtures.h"
#include "readers/alpha_onto_white.h"
#include "readers/webp_reader.h"

namespace vellumar::testing {
namespace {

// What the decode gave when it went through the library's RGBA picture for every still
// picture: the direct decodes must give exactly this.
Bitmap throughWholeRgba(const std::vector<std::uint8_t>& file) {
    int width = 0;
    int height = 0;
    EXPECT_TRUE(WebPGetInfo(file.data(), file.size(), &width, &height));
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> rgba(stride * height);
    EXPECT_NE(WebPDecodeRGBAInto(file.data(), file.size(), rgba.data(), rgba.size(),
                                 static_cast<int>(stride)),
              nullptr);
    return rgbaOntoWhite(rgba.data(), stride, width, height);
}

std::vector<std::uint8_t> owned(std::uint8_t* encoded, std::size_t size) {
    std::vector<std::uint8_t> file(encoded, encoded + size);
    WebPFree(encoded);
    EXPECT_GT(file.size(), 0u);
    return file;
}

struct EncodedWebp {
    std::string name;
    std::vector<std::uint8_t> file;
    std::uint64_t bytesPerPixel; // at the decode's peak
};

// Each kind of still picture, sized so that lossy pictures have partial macroblocks.
std::vector<EncodedWebp> stillPictures() {
    constexpr int kWidth = 45;
    constexpr int kHeight = 27;
    const std::vector<std::uint8_t> rgb = rgbGradient(kWidth, kHeight);
    const std::vector<std::uint8_t> rgba = rgbaGradient(kWidth, kHeight);
    std::uint8_t* encoded = nullptr;
    std::vector<EncodedWebp> pictures;
    std::size_t size = WebPEncodeRGB(rgb.data(), kWidth, kHeight, kWidth * 3, 80, &encoded);
    pictures.push_back({"lossy", owned(encoded, size), 3});
    size = WebPEncodeLosslessRGB(rgb.data(), kWidth, kHeight, kWidth * 3, &encoded);
    pictures.push_back({"lossless", owned(encoded, size), 7});
    size = WebPEncodeRGBA(rgba.data(), kWidth, kHeight, kWidth * 4, 80, &encoded);
    pictures.push_back({"lossy with alpha", owned(encoded, size), 5});
    size = WebPEncodeLosslessRGBA(rgba.data(), kWidth, kHeight, kWidth * 4, &encoded);
    pictures.push_back({"lossless with alpha", owned(encoded, size), 8});
    return pictures;
}

TEST(WebpReader, StillPicturesDecodeAsThroughAWholeRgbaPicture) {
    for (const EncodedWebp& picture : stillPictures()) {
        EXPECT_TRUE(matchesPicture(WebpReader().decode({picture.file, picture.name}),
                                   throughWholeRgba(picture.file)))
            << picture.name;
    }
    for (const char* name : {"lossless.webp", "lossy.webp", "alpha.webp"}) {
        const std::vector<std::uint8_t> file = fixtureBytes("webp", name);
        EXPECT_TRUE(matchesPicture(WebpReader().decode({file, name}), throughWholeRgba(file)))
            << name;
    }
}

// Without transparency a lossy picture takes the bitmap alone; transparency costs RGBA in
// place of it, and lossless pictures the library's own ARGB picture beside it.
TEST(WebpReader, DecodeMemoryCountsWhatEachKindOfPictureHolds) {
    const WebpReader reader;
    for (const EncodedWebp& picture : stillPictures()) {
        const PictureSource source{picture.file, picture.name};
        const PictureSize size = reader.probe(source);
        EXPECT_EQ(reader.decodeMemory(source, size), pixelCount(size) * picture.bytesPerPixel)
            << picture.name;
    }
    const std::vector<std::uint8_t> animation = fixtureBytes("webp", "animated.webp");
    const PictureSource source{animation, "animated.webp"};
    const PictureSize size = reader.probe(source);
    EXPECT_EQ(reader.decodeMemory(source, size), pixelCount(size) * 11);
}

} // namespace
} // namespace vellumar::testing
