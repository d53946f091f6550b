#include "avif_writer.h"

#include <algorithm>
#include <libheif/heif.h>
#include <memory>
#include <string>

#include "imaging/raster.h"
#include "project_error.h"

namespace vellumar {

namespace {

void check(const heif_error& error, const std::string& what) {
    if (error.code != heif_error_Ok) {
        throw ProjectError("the AVIF encoder failed: " + what + " (" + error.message + ")");
    }
}

template <typename T, auto release>
struct Releaser {
    void operator()(T* object) const { release(object); }
};
template <typename T, auto release>
using Owned = std::unique_ptr<T, Releaser<T, release>>;

using Context = Owned<heif_context, heif_context_free>;
using Encoder = Owned<heif_encoder, heif_encoder_release>;
using Image = Owned<heif_image, heif_image_release>;
using EncodingOptions = Owned<heif_encoding_options, heif_encoding_options_free>;
using Nclx = Owned<heif_color_profile_nclx, heif_nclx_color_profile_free>;

void checkSide(const Bitmap& bitmap) {
    if (bitmap.width() > kMaxAvifSide || bitmap.height() > kMaxAvifSide) {
        throw ProjectError("the picture is " + std::to_string(bitmap.width()) + " x " +
                           std::to_string(bitmap.height()) +
                           " pixels, but an AVIF side holds at most " +
                           std::to_string(kMaxAvifSide) + " pixels");
    }
}

// libheif's copy of the pixels, which it converts to YCbCr for the encoder.
Image imageOf(const Bitmap& rgb) {
    heif_image* created = nullptr;
    check(heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB,
                            heif_chroma_interleaved_RGB, &created),
          "out of memory");
    Image image(created);
    check(heif_image_add_plane(image.get(), heif_channel_interleaved, rgb.width(), rgb.height(), 8),
          "out of memory");
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y) {
        std::copy_n(rgb.row(y), rgb.stride(), plane + static_cast<std::ptrdiff_t>(y) * stride);
    }
    return image;
}

// How the samples code the colours, written for every picture: the matrix and full range of
// JPEG's own YCbCr, so that decoders turn them back into the RGB encoded, and sRGB unless an
// ICC profile says what that RGB is.
Nclx codingDescription(bool withProfile) {
    Nclx nclx(heif_nclx_color_profile_alloc());
    if (!nclx) {
        throw ProjectError("the AVIF encoder failed: out of memory");
    }
    nclx->color_primaries =
        withProfile ? heif_color_primaries_unspecified : heif_color_primaries_ITU_R_BT_709_5;
    nclx->transfer_characteristics = withProfile ? heif_transfer_characteristic_unspecified
                                                 : heif_transfer_characteristic_IEC_61966_2_1;
    nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
    nclx->full_range_flag = 1;
    return nclx;
}

Encoder av1Encoder(heif_context* context, AvifSettings settings) {
    heif_encoder* found = nullptr;
    if (heif_context_get_encoder_for_format(context, heif_compression_AV1, &found).code !=
        heif_error_Ok) {
        throw ProjectError(
            "AVIF pictures cannot be written on this system: its libheif has no AV1 encoder");
    }
    Encoder encoder(found);
    check(heif_encoder_set_lossy_quality(encoder.get(), settings.quality), "invalid quality");
    check(heif_encoder_set_parameter_integer(encoder.get(), "speed", settings.speed),
          "invalid speed");
    // Each worker encodes one picture; the encoder's own threads would compete with the others.
    check(heif_encoder_set_parameter_integer(encoder.get(), "threads", 1),
          "the encoder's threads cannot be limited");
    check(heif_encoder_set_parameter_string(encoder.get(), "chroma", "420"),
          "the chroma resolution cannot be set");
    return encoder;
}

heif_error appendBytes(heif_context*, const void* data, std::size_t size, void* target) {
    auto& bytes = *static_cast<std::vector<std::uint8_t>*>(target);
    const auto* first = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), first, first + size);
    return {heif_error_Ok, heif_suberror_Unspecified, "Success"};
}

std::vector<std::uint8_t> compress(const Bitmap& rgb, AvifSettings settings,
                                   std::span<const std::uint8_t> iccProfile) {
    const Context context(heif_context_alloc());
    if (!context) {
        throw ProjectError("the AVIF encoder failed: out of memory");
    }
    const Encoder encoder = av1Encoder(context.get(), settings);
    const Image image = imageOf(rgb);
    const Nclx nclx = codingDescription(!iccProfile.empty());
    if (!iccProfile.empty()) {
        check(heif_image_set_raw_color_profile(image.get(), "prof", iccProfile.data(),
                                               iccProfile.size()),
              "the colour profile cannot be added");
    }
    check(heif_image_set_nclx_color_profile(image.get(), nclx.get()),
          "the colour description cannot be added");

    const EncodingOptions options(heif_encoding_options_alloc());
    options->save_alpha_channel = 0;
    options->save_two_colr_boxes_when_ICC_and_nclx_available = 1;
    options->output_nclx_profile = nclx.get();
    check(heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(),
                                    nullptr),
          "the picture cannot be encoded");

    std::vector<std::uint8_t> bytes;
    heif_writer writer{1, appendBytes};
    check(heif_context_write(context.get(), &writer, &bytes), "the file cannot be assembled");
    return bytes;
}

} // namespace

std::uint64_t avifCodingMemory(PictureSize size) {
    // Measured as the rise of resident memory during encodes of photographs
    // (bench/encoder_parity --memory): about 6 MB whatever the size, for the encoder's
    // tables, and 21 bytes a pixel, whatever the content: libheif's RGB and YCbCr copies and
    // libaom's source, lookahead and reconstructed frames in 16-bit samples.
    constexpr std::uint64_t kBytesPerPixel = 22;
    constexpr std::uint64_t kFixed = 6 << 20;
    return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) *
               kBytesPerPixel +
           kFixed;
}

bool avifEncoderAvailable() {
    return heif_have_encoder_for_format(heif_compression_AV1) != 0;
}

std::vector<std::uint8_t> encodeAvif(const Bitmap& bitmap, AvifSettings settings,
                                     std::span<const std::uint8_t> iccProfile) {
    if (bitmap.isEmpty()) {
        return {};
    }
    checkSide(bitmap);
    const Rgb24View view(bitmap);
    return compress(view.bitmap(), settings, iccProfile);
}

std::vector<std::uint8_t> encodeAvif(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile) {
    return encodeAvif(bitmap, kAvifSettings, iccProfile);
}

} // namespace vellumar
