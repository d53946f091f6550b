#include <cstdint>
#include <cstring>
#include <libheif/heif.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gradient_pictures.h"
#include "reader_fixtures.h"
#include "readers/alpha_onto_white.h"
#include "readers/heif_reader.h"

namespace vellumar::testing {
namespace {

struct ContextRelease {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
using Context = std::unique_ptr<heif_context, ContextRelease>;

heif_error appendTo(heif_context*, const void* data, std::size_t size, void* file) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    static_cast<std::vector<std::uint8_t>*>(file)->insert(
        static_cast<std::vector<std::uint8_t>*>(file)->end(), bytes, bytes + size);
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

// The gradient as an AVIF, with its alpha or without; empty when libheif has no AV1 encoder.
std::vector<std::uint8_t> encodeAvif(int width, int height, bool alpha) {
    const Context context(heif_context_alloc());
    heif_encoder* encoder = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_AV1, &encoder).code !=
        heif_error_Ok) {
        return {};
    }
    heif_encoder_set_lossy_quality(encoder, 80);
    heif_image* image = nullptr;
    heif_image_create(width, height, heif_colorspace_RGB,
                      alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, width, height, 8);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const std::vector<std::uint8_t> pixels =
        alpha ? rgbaGradient(width, height) : rgbGradient(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) {
        std::memcpy(plane + static_cast<std::size_t>(y) * stride, pixels.data() + y * rowBytes,
                    rowBytes);
    }
    const heif_error encoded =
        heif_context_encode_image(context.get(), image, encoder, nullptr, nullptr);
    heif_image_release(image);
    heif_encoder_release(encoder);
    EXPECT_EQ(encoded.code, heif_error_Ok) << encoded.message;
    std::vector<std::uint8_t> file;
    heif_writer writer{1, appendTo};
    EXPECT_EQ(heif_context_write(context.get(), &writer, &file).code, heif_error_Ok);
    return file;
}

// What the decode gave when libheif handed over RGBA for every picture.
Bitmap throughWholeRgba(const std::vector<std::uint8_t>& file) {
    const Context context(heif_context_alloc());
    heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr);
    heif_image_handle* handle = nullptr;
    heif_context_get_primary_image_handle(context.get(), &handle);
    heif_image* image = nullptr;
    const heif_error decoded = heif_decode_image(handle, &image, heif_colorspace_RGB,
                                                 heif_chroma_interleaved_RGBA, nullptr);
    heif_image_handle_release(handle);
    if (decoded.code != heif_error_Ok) {
        ADD_FAILURE() << decoded.message;
        return Bitmap();
    }
    int stride = 0;
    const std::uint8_t* rgba =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    Bitmap picture = rgbaOntoWhite(rgba, static_cast<std::size_t>(stride),
                                   heif_image_get_width(image, heif_channel_interleaved),
                                   heif_image_get_height(image, heif_channel_interleaved));
    heif_image_release(image);
    return picture;
}

struct HeifPicture {
    std::string name;
    std::vector<std::uint8_t> file;
    std::uint64_t bytesPerPixel; // at the decode's peak
};

std::vector<HeifPicture> pictures() {
    std::vector<HeifPicture> all = {{"lossy.heic", fixtureBytes("heic", "lossy.heic"), 6},
                                    {"lossy.avif", fixtureBytes("avif", "lossy.avif"), 6},
                                    {"lossless.avif", fixtureBytes("avif", "lossless.avif"), 6}};
    for (const bool alpha : {false, true}) {
        std::vector<std::uint8_t> file = encodeAvif(37, 21, alpha);
        if (!file.empty()) {
            all.push_back({alpha ? "generated with alpha" : "generated", file, alpha ? 7u : 6u});
        }
    }
    return all;
}

// Opaque pictures come from libheif as RGB, ones with alpha as RGBA laid onto white; either
// way the pixels are those of the RGBA reading.
TEST(HeifReader, DecodesAsThroughAWholeRgbaPicture) {
    for (const HeifPicture& picture : pictures()) {
        EXPECT_TRUE(matchesPicture(HeifReader().decode({picture.file, picture.name}),
                                   throughWholeRgba(picture.file)))
            << picture.name;
    }
}

TEST(HeifReader, DecodeMemoryCountsTheLibrarysPictureAsRgbUnlessItHasAlpha) {
    const HeifReader reader;
    for (const HeifPicture& picture : pictures()) {
        const PictureSource source{picture.file, picture.name};
        const PictureSize size = reader.probe(source);
        EXPECT_EQ(reader.decodeMemory(source, size), pixelCount(size) * picture.bytesPerPixel)
            << picture.name;
    }
}

} // namespace
} // namespace vellumar::testing
