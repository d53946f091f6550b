#include <cstdint>
#include <libheif/heif.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/avif_writer.h"
#include "project_error.h"
#include "support/colour_fixtures.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The file as libheif reads it: its primary picture, and what is stored beside it.
struct ReadAvif {
    Bitmap picture;
    Bytes profile;
    std::unique_ptr<heif_color_profile_nclx, decltype(&heif_nclx_color_profile_free)> nclx{
        nullptr, heif_nclx_color_profile_free};
    int metadataBlocks = 0;
    bool alpha = false;
    std::string brand;
};

ReadAvif readWithLibheif(const Bytes& bytes) {
    ReadAvif read;
    read.brand.assign(reinterpret_cast<const char*>(bytes.data()) + 8, 4);
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    if (heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr)
                .code != heif_error_Ok ||
        heif_context_get_primary_image_handle(context, &handle).code != heif_error_Ok ||
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)
                .code != heif_error_Ok) {
        ADD_FAILURE() << "libheif cannot decode the file";
    } else {
        read.picture = Bitmap(heif_image_get_width(image, heif_channel_interleaved),
                              heif_image_get_height(image, heif_channel_interleaved));
        int stride = 0;
        const std::uint8_t* plane =
            heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < read.picture.height(); ++y) {
            std::copy_n(plane + static_cast<std::ptrdiff_t>(y) * stride, read.picture.stride(),
                        read.picture.row(y));
        }
        read.profile.resize(heif_image_handle_get_raw_color_profile_size(handle));
        if (!read.profile.empty()) {
            heif_image_handle_get_raw_color_profile(handle, read.profile.data());
        }
        heif_color_profile_nclx* nclx = nullptr;
        if (heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok) {
            read.nclx.reset(nclx);
        }
        read.metadataBlocks = heif_image_handle_get_number_of_metadata_blocks(handle, nullptr);
        read.alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    }
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
    return read;
}

TEST(AvifWriter, DecodesToTheSizeAndCloseToThePixels) {
    // Debian's libheif encodes AV1 through libaom.
    ASSERT_TRUE(avifEncoderAvailable());
    // Odd sides, so that the half-resolution chroma has partial samples at the edges.
    for (const auto& [width, height] : {std::pair{1, 1}, {45, 31}, {200, 133}}) {
        const Bitmap picture = testing::markedPicture(width, height);
        const ReadAvif read = readWithLibheif(encodeAvif(picture));
        EXPECT_EQ(read.brand, "avif");
        ASSERT_EQ(read.picture.width(), width);
        ASSERT_EQ(read.picture.height(), height);
        EXPECT_FALSE(read.alpha);
        // A smooth picture comes back within 2 levels on average, each sample within 12.
        EXPECT_LE(testing::meanDifference(read.picture, picture), 2.0) << width << "x" << height;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width * 3; ++x) {
                ASSERT_NEAR(read.picture.row(y)[x], picture.row(y)[x], 12) << x / 3 << "," << y;
            }
        }
    }
    const ReadAvif palette = readWithLibheif(encodeAvif(Bitmap::withPalette(8, 8, {{0, 0, 255}})));
    EXPECT_NEAR(palette.picture.pixel(4, 4).b, 255, 4);
    EXPECT_TRUE(encodeAvif(Bitmap()).empty());
}

TEST(AvifWriter, DescribesColoursBySrgbOrTheProfileGivenAndWritesNothingElse) {
    const Bitmap picture = testing::markedPicture(64, 48);
    const Bytes profile = testing::displayP3Profile();
    const ReadAvif withProfile = readWithLibheif(encodeAvif(picture, profile));
    EXPECT_EQ(withProfile.profile, profile);
    const ReadAvif plain = readWithLibheif(encodeAvif(picture));
    EXPECT_TRUE(plain.profile.empty());
    ASSERT_NE(plain.nclx, nullptr);
    EXPECT_EQ(plain.nclx->color_primaries, heif_color_primaries_ITU_R_BT_709_5);
    EXPECT_EQ(plain.nclx->transfer_characteristics, heif_transfer_characteristic_IEC_61966_2_1);
    // Both are coded with the matrix and range that the decoder is told.
    for (const ReadAvif* read : {&withProfile, &plain}) {
        ASSERT_NE(read->nclx, nullptr);
        EXPECT_EQ(read->nclx->matrix_coefficients, heif_matrix_coefficients_ITU_R_BT_601_6);
        EXPECT_EQ(read->nclx->full_range_flag, 1);
        EXPECT_EQ(read->metadataBlocks, 0); // no EXIF, no XMP
        EXPECT_LE(testing::meanDifference(read->picture, picture), 2.0);
    }
}

TEST(AvifWriter, RefusesSidesLongerThanTheWriterAllows) {
    for (const auto& [width, height] : {std::pair{kMaxAvifSide + 1, 2}, {3, kMaxAvifSide + 1}}) {
        try {
            encodeAvif(Bitmap(width, height));
            FAIL() << "no error";
        } catch (const ProjectError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, but an AVIF side holds at most 16384 pixels");
        }
    }
    EXPECT_EQ(readWithLibheif(encodeAvif(Bitmap(kMaxAvifSide, 2))).picture.width(), kMaxAvifSide);
}

} // namespace
} // namespace vellumar
