#include "webp_reader.h"

#include <algorithm>
#include <utility>
#include <webp/decode.h>
#include <webp/demux.h>

#include "project_error.h"
#include "readers/alpha_onto_white.h"

namespace vellumar {

namespace {

WebPBitstreamFeatures featuresOf(Bytes bytes) {
    WebPBitstreamFeatures features{};
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
        throw ProjectError("the WebP header is damaged or truncated");
    }
    return features;
}

// The demuxer owns every frame it decodes; this keeps its release in one place.
class AnimationDecoder {
public:
    explicit AnimationDecoder(Bytes bytes) {
        const WebPData data{bytes.data(), bytes.size()};
        WebPAnimDecoderOptions options;
        WebPAnimDecoderOptionsInit(&options);
        options.color_mode = MODE_RGBA;
        options.use_threads = 0;
        m_decoder = WebPAnimDecoderNew(&data, &options);
        if (m_decoder == nullptr) {
            throw ProjectError("the WebP animation is damaged or truncated");
        }
    }
    ~AnimationDecoder() { WebPAnimDecoderDelete(m_decoder); }
    AnimationDecoder(const AnimationDecoder&) = delete;
    AnimationDecoder& operator=(const AnimationDecoder&) = delete;

    Bitmap firstFrame(PictureSize size) {
        std::uint8_t* rgba = nullptr;
        int timestamp = 0;
        WebPAnimInfo info{};
        if (!WebPAnimDecoderGetInfo(m_decoder, &info) ||
            static_cast<int>(info.canvas_width) != size.width ||
            static_cast<int>(info.canvas_height) != size.height ||
            !WebPAnimDecoderGetNext(m_decoder, &rgba, &timestamp)) {
            throw ProjectError("the first frame of the WebP animation cannot be decoded");
        }
        return rgbaOntoWhite(rgba, static_cast<std::size_t>(size.width) * 4, size.width,
                             size.height);
    }

private:
    WebPAnimDecoder* m_decoder = nullptr;
};

} // namespace

bool WebpReader::sniff(Bytes bytes) const {
    return bytes.size() >= 12 && std::equal(bytes.begin(), bytes.begin() + 4, "RIFF") &&
           std::equal(bytes.begin() + 8, bytes.begin() + 12, "WEBP");
}

PictureSize WebpReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a WebP file");
    }
    const WebPBitstreamFeatures features = featuresOf(source.bytes);
    return checkPictureSize(features.width, features.height);
}

Bitmap WebpReader::decode(const PictureSource& source) const {
    const PictureSize size = probe(source);
    const Bytes bytes = source.bytes;
    const WebPBitstreamFeatures features = featuresOf(bytes);
    if (features.has_animation) {
        return AnimationDecoder(bytes).firstFrame(size);
    }
    if (!features.has_alpha) {
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        const std::size_t stride = bitmap.stride();
        if (WebPDecodeRGBInto(bytes.data(), bytes.size(), bitmap.row(0), stride * size.height,
                              static_cast<int>(stride)) == nullptr) {
            throw ProjectError("the WebP data cannot be decoded");
        }
        return bitmap;
    }
    // The RGBA picture is laid onto white where it lies and becomes the bitmap.
    const std::size_t stride = static_cast<std::size_t>(size.width) * 4;
    PixelBuffer rgba(stride * size.height);
    if (WebPDecodeRGBAInto(bytes.data(), bytes.size(), rgba.data(), rgba.size(),
                           static_cast<int>(stride)) == nullptr) {
        throw ProjectError("the WebP data cannot be decoded");
    }
    return rgbaOntoWhiteInPlace(std::move(rgba), size.width, size.height);
}

ColourDescription WebpReader::colour(const PictureSource& source) const {
    const WebPData data{source.bytes.data(), source.bytes.size()};
    WebPDemuxer* demuxer = WebPDemux(&data);
    if (demuxer == nullptr) {
        return ColourDescription::srgb(); // decode says what is wrong
    }
    ColourDescription description;
    WebPChunkIterator chunk{};
    if (WebPDemuxGetChunk(demuxer, "ICCP", 1, &chunk)) {
        description = ColourDescription::iccProfile(
            {chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size});
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    WebPDemuxDelete(demuxer);
    return description;
}

std::uint64_t WebpReader::decodeMemory(const PictureSource& source, PictureSize size) const {
    const WebPBitstreamFeatures features = featuresOf(source.bytes);
    const std::uint64_t pixels = pixelCount(size);
    if (features.has_animation) {
        // The demuxer's canvas and the one it keeps of the previous frame, both RGBA.
        return pixels * 8 + rgbBytes(size);
    }
    // A lossless picture is decoded whole as ARGB of the library's own first; a lossy one's
    // transparency as an alpha plane beside the RGBA it goes into.
    constexpr int kLossless = 2;
    const std::uint64_t decoded = features.has_alpha ? pixels * 4 : rgbBytes(size);
    if (features.format == kLossless) {
        return decoded + pixels * 4;
    }
    return decoded + (features.has_alpha ? pixels : 0);
}

} // namespace vellumar
