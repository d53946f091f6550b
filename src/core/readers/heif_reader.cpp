#include "heif_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <libheif/heif.h>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "colour/colour_conversion.h"
#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/heif_canvas.h"
#include "readers/heif_deep.h"

namespace vellumar {

namespace {

// Major brands of still HEIF pictures: HEVC-coded, AV1-coded and the generic ones.
constexpr std::array<std::string_view, 8> kBrands = {"heic", "heix", "heim", "heis",
                                                     "mif1", "avif", "msf1", "hevc"};

void check(const heif_error& error, const char* what) {
    if (error.code != heif_error_Ok) {
        throw ProjectError(std::string(what) + ": " + error.message);
    }
}

template <typename T, void (*release)(T*)>
struct Releaser {
    void operator()(T* object) const { release(object); }
};
template <typename T, void (*release)(T*)>
using Owned = std::unique_ptr<T, Releaser<T, release>>;

using Context = Owned<heif_context, heif_context_free>;
using Handle = Owned<const heif_image_handle, heif_image_handle_release>;
using Image = Owned<const heif_image, heif_image_release>;
using DecodingOptions = Owned<heif_decoding_options, heif_decoding_options_free>;

// libheif allocates a grid's or overlay's canvas as its descriptor gives it. One that is not
// the size its picture declares, or larger than the stored main picture (which the size
// check and the memory budget see), would take memory nothing has checked. A grid of the
// alpha plane or behind an identity item is the main picture's size.
void checkCanvases(Bytes bytes, PictureSize stored) {
    for (const HeifCanvas& derived : heifCanvases(bytes)) {
        const HeifItemSize canvas = derived.canvas;
        const bool fits = (derived.declared == HeifItemSize{} || canvas == derived.declared) &&
                          canvas.width <= static_cast<std::uint32_t>(stored.width) &&
                          canvas.height <= static_cast<std::uint32_t>(stored.height);
        if (!fits) {
            throw ProjectError("the HEIF picture decodes to another size than it declares");
        }
    }
}

// The file's boxes read from memory, without a copy; bytes must outlive the context.
struct OpenedPicture {
    Context context;
    Handle primary;
    PictureSize size; // after the file's own turns
    // Of the interleaved picture libheif is asked for: RGB, the bitmap's own layout, or RGBA
    // when there is alpha to lay onto white.
    int channels = 3;
};

OpenedPicture open(Bytes bytes) {
    OpenedPicture picture{Context(heif_context_alloc()), nullptr, {}, 3};
    if (!picture.context) {
        throw ProjectError("the HEIF decoder cannot be started");
    }
    // Decoding stays on the thread that asked for it, as every reader's does.
    heif_context_set_max_decoding_threads(picture.context.get(), 0);
    heif_context_set_maximum_image_size_limit(picture.context.get(),
                                              static_cast<int>(kMaxPictureSide));
    check(heif_context_read_from_memory_without_copy(picture.context.get(), bytes.data(),
                                                     bytes.size(), nullptr),
          "the HEIF file is damaged or truncated");
    heif_image_handle* handle = nullptr;
    check(heif_context_get_primary_image_handle(picture.context.get(), &handle),
          "the HEIF file has no primary picture");
    picture.primary.reset(handle);
    // Both the stored and the turned size must pass before anything is decoded.
    checkCanvases(bytes, checkPictureSize(heif_image_handle_get_ispe_width(handle),
                                          heif_image_handle_get_ispe_height(handle)));
    picture.size =
        checkPictureSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
    picture.channels = heif_image_handle_has_alpha_channel(handle) != 0 ? 4 : 3;
    return picture;
}

ColourDescription colourOf(const heif_image_handle* handle) {
    if (const std::size_t size = heif_image_handle_get_raw_color_profile_size(handle)) {
        std::vector<std::uint8_t> profile(size);
        if (heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok) {
            profile.clear(); // unreadable, as a damaged profile
        }
        return ColourDescription::iccProfile(std::move(profile));
    }
    heif_color_profile_nclx* nclx = nullptr;
    const heif_error error = heif_image_handle_get_nclx_color_profile(handle, &nclx);
    // libheif hands the profile over even when it refuses codes it does not know.
    const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> owned(
        nclx, heif_nclx_color_profile_free);
    if (error.code == heif_error_Ok && nclx != nullptr) {
        return ColourDescription::cicp(nclx->color_primaries, nclx->transfer_characteristics);
    }
    return ColourDescription::srgb();
}

// Samples of more than 8 bits whose colours are not sRGB are converted before they are cut
// down; others are decoded to 8 bits and left to the loader.
std::optional<ColourConverter> deepConverter(const OpenedPicture& picture, ColourSpace space) {
    if (!heifHasDeepSamples(picture.primary.get())) {
        return std::nullopt;
    }
    const ColourDescription description = colourOf(picture.primary.get());
    if (description.isSrgb()) {
        return std::nullopt;
    }
    return ColourConverter::make(description, SampleLayout::Rgb16, space);
}

heif_chroma chromaFor(bool alpha, bool deep) {
    if (deep) {
        return alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE;
    }
    return alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
}

} // namespace

bool HeifReader::sniff(Bytes bytes) const {
    if (bytes.size() < 12 || !std::equal(bytes.begin() + 4, bytes.begin() + 8, "ftyp")) {
        return false;
    }
    const std::string_view brand(reinterpret_cast<const char*>(bytes.data()) + 8, 4);
    return std::find(kBrands.begin(), kBrands.end(), brand) != kBrands.end();
}

PictureSize HeifReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a HEIF file");
    }
    return open(source.bytes).size;
}

Bitmap HeifReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a HEIF file");
    }
    const OpenedPicture picture = open(source.bytes);
    const bool alpha = picture.channels == 4;
    const auto converter = deepConverter(picture, source.colourSpace);
    const DecodingOptions options(heif_decoding_options_alloc());
    heif_image* decoded = nullptr;
    check(heif_decode_image(picture.primary.get(), &decoded, heif_colorspace_RGB,
                            chromaFor(alpha, converter.has_value()), options.get()),
          "the HEIF picture cannot be decoded");
    const Image image(decoded);
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const PictureSize size = picture.size;
    const int sampleBytes = converter ? 2 : 1;
    if (pixels == nullptr ||
        heif_image_get_width(image.get(), heif_channel_interleaved) != size.width ||
        heif_image_get_height(image.get(), heif_channel_interleaved) != size.height ||
        stride / sampleBytes / picture.channels < size.width) {
        throw ProjectError("the HEIF picture decodes to another size than it declares");
    }
    if (converter) {
        const int bits = heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved);
        if (bits <= 8 || bits > 16) {
            throw ProjectError("the HEIF picture decodes to samples of an unexpected depth");
        }
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        convertHeifDeepRows(pixels, static_cast<std::size_t>(stride), bits, alpha, bitmap,
                            *converter);
        return bitmap;
    }
    if (alpha) {
        return rgbaOntoWhite(pixels, static_cast<std::size_t>(stride), size.width, size.height);
    }
    Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
    for (int y = 0; y < size.height; ++y) {
        std::memcpy(bitmap.row(y), pixels + static_cast<std::size_t>(y) * stride, bitmap.stride());
    }
    return bitmap;
}

ColourDescription HeifReader::colour(const PictureSource& source) const {
    try {
        return colourOf(open(source.bytes).primary.get());
    } catch (const ProjectError&) {
        return ColourDescription::srgb(); // decode says what is wrong
    }
}

bool HeifReader::convertsColour(const PictureSource& source) const {
    try {
        return deepConverter(open(source.bytes), source.colourSpace).has_value();
    } catch (const ProjectError&) {
        return false; // decode says what is wrong
    }
}

std::uint64_t HeifReader::decodeMemory(const PictureSource& source, PictureSize size) const {
    const OpenedPicture picture = open(source.bytes);
    const std::uint64_t sampleBytes = deepConverter(picture, source.colourSpace) ? 2 : 1;
    return pixelCount(size) * picture.channels * sampleBytes + rgbBytes(size);
}

} // namespace vellumar
