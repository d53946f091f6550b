#include "webp_writer.h"

#include <memory>
#include <string>
#include <webp/encode.h>
#include <webp/mux.h>

#include "imaging/raster.h"
#include "project_error.h"

namespace vellumar {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw ProjectError("the WebP encoder failed: " + what);
}

std::string encodingProblem(WebPEncodingError code) {
    switch (code) {
    case VP8_ENC_ERROR_OUT_OF_MEMORY:
    case VP8_ENC_ERROR_BITSTREAM_OUT_OF_MEMORY:
        return "out of memory";
    case VP8_ENC_ERROR_PARTITION0_OVERFLOW:
    case VP8_ENC_ERROR_PARTITION_OVERFLOW:
    case VP8_ENC_ERROR_FILE_TOO_BIG:
        return "the picture codes to more data than a WebP file holds";
    default:
        return "error #" + std::to_string(static_cast<int>(code));
    }
}

void checkSide(const Bitmap& bitmap) {
    if (bitmap.width() > kMaxWebpSide || bitmap.height() > kMaxWebpSide) {
        throw ProjectError("the picture is " + std::to_string(bitmap.width()) + " x " +
                           std::to_string(bitmap.height()) +
                           " pixels, but a WebP side holds at most " +
                           std::to_string(kMaxWebpSide) + " pixels");
    }
}

struct PictureGuard {
    WebPPicture& picture;
    ~PictureGuard() { WebPPictureFree(&picture); }
};

struct WriterGuard {
    WebPMemoryWriter& writer;
    ~WriterGuard() { WebPMemoryWriterClear(&writer); }
};

std::vector<std::uint8_t> compress(const Bitmap& rgb, WebpSettings settings) {
    WebPConfig config;
    if (WebPConfigInit(&config) == 0) {
        fail("the library does not match the program");
    }
    config.quality = static_cast<float>(settings.quality);
    config.method = settings.method;
    // Each worker encodes one picture; threads of libwebp's own would compete with the others.
    config.thread_level = 0;
    if (WebPValidateConfig(&config) == 0) {
        fail("invalid settings");
    }

    WebPPicture picture;
    if (WebPPictureInit(&picture) == 0) {
        fail("the library does not match the program");
    }
    const PictureGuard pictureGuard{picture};
    picture.use_argb = 0; // straight to YUV 4:2:0, the lossy coding's own layout
    picture.width = rgb.width();
    picture.height = rgb.height();
    if (WebPPictureImportRGB(&picture, rgb.row(0), static_cast<int>(rgb.stride())) == 0) {
        fail("out of memory");
    }

    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    const WriterGuard writerGuard{writer};
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    if (WebPEncode(&config, &picture) == 0) {
        fail(encodingProblem(picture.error_code));
    }
    return {writer.mem, writer.mem + writer.size};
}

struct MuxDeleter {
    void operator()(WebPMux* mux) const { WebPMuxDelete(mux); }
};

// The extended layout: a VP8X header announcing the profile, the ICCP chunk, then the picture.
std::vector<std::uint8_t> withProfile(const std::vector<std::uint8_t>& plain,
                                      std::span<const std::uint8_t> iccProfile) {
    const WebPData image{plain.data(), plain.size()};
    const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxCreate(&image, 0));
    const WebPData profile{iccProfile.data(), iccProfile.size()};
    if (!mux || WebPMuxSetChunk(mux.get(), "ICCP", &profile, 0) != WEBP_MUX_OK) {
        fail("the colour profile cannot be added");
    }
    WebPData assembled;
    WebPDataInit(&assembled);
    if (WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK) {
        WebPDataClear(&assembled);
        fail("the colour profile cannot be added");
    }
    std::vector<std::uint8_t> bytes(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    return bytes;
}

} // namespace

std::uint64_t webpCodingMemory(PictureSize size) {
    // Measured as the rise of resident memory during encodes of photographs
    // (bench/encoder_parity --memory): 0.6 MB for a thumbnail, and 4 to 10 bytes a pixel for
    // large pictures, the grainier the more, as libwebp keeps the coded tokens of the whole
    // picture and the file grows with them. Counted with room for grainier pictures still.
    constexpr std::uint64_t kBytesPerPixel = 12;
    constexpr std::uint64_t kFixed = 1 << 20;
    return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) *
               kBytesPerPixel +
           kFixed;
}

bool webpEncoderAvailable() {
    return true;
}

std::vector<std::uint8_t> encodeWebp(const Bitmap& bitmap, WebpSettings settings,
                                     std::span<const std::uint8_t> iccProfile) {
    if (bitmap.isEmpty()) {
        return {};
    }
    checkSide(bitmap);
    const Rgb24View view(bitmap);
    const std::vector<std::uint8_t> plain = compress(view.bitmap(), settings);
    return iccProfile.empty() ? plain : withProfile(plain, iccProfile);
}

std::vector<std::uint8_t> encodeWebp(const Bitmap& bitmap,
                                     std::span<const std::uint8_t> iccProfile) {
    return encodeWebp(bitmap, kWebpSettings, iccProfile);
}

} // namespace vellumar
