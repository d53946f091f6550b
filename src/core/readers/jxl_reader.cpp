#include "jxl_reader.h"

#include <jxl/decode.h>
#include <memory>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"

namespace vellumar {

namespace {

struct DecoderRelease {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};

// One pass of the decoder over the whole file held in memory, on the calling thread (no
// parallel runner is set). It stops at the first frame.
class JxlDecoding {
public:
    JxlDecoding(Bytes bytes, int events) : m_decoder(JxlDecoderCreate(nullptr)) {
        if (!m_decoder || JxlDecoderSubscribeEvents(m_decoder.get(), events) != JXL_DEC_SUCCESS ||
            JxlDecoderSetInput(m_decoder.get(), bytes.data(), bytes.size()) != JXL_DEC_SUCCESS) {
            throw ProjectError("the JPEG XL decoder cannot be started");
        }
        JxlDecoderCloseInput(m_decoder.get());
    }

    // Runs to the next event; fails on an error or when the data ends before it.
    JxlDecoderStatus next() {
        const JxlDecoderStatus status = JxlDecoderProcessInput(m_decoder.get());
        if (status == JXL_DEC_ERROR) {
            throw ProjectError("the JPEG XL data is damaged");
        }
        if (status == JXL_DEC_NEED_MORE_INPUT || status == JXL_DEC_SUCCESS) {
            throw ProjectError("the JPEG XL file is truncated");
        }
        return status;
    }

    // The size as decoded, that is after the file's own orientation.
    PictureSize basicInfo() {
        while (next() != JXL_DEC_BASIC_INFO) {
        }
        if (JxlDecoderGetBasicInfo(m_decoder.get(), &m_info) != JXL_DEC_SUCCESS) {
            throw ProjectError("the JPEG XL header is damaged");
        }
        const bool sidesSwapped = m_info.orientation > JXL_ORIENT_ROTATE_180;
        return checkPictureSize(sidesSwapped ? m_info.ysize : m_info.xsize,
                                sidesSwapped ? m_info.xsize : m_info.ysize);
    }

    Bitmap firstFrame(PictureSize size) {
        const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        std::vector<std::uint8_t> rgba;
        for (JxlDecoderStatus status = next(); status != JXL_DEC_FULL_IMAGE; status = next()) {
            if (status != JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
                continue;
            }
            std::size_t needed = 0;
            rgba.resize(static_cast<std::size_t>(size.width) * size.height * 4);
            if (JxlDecoderImageOutBufferSize(m_decoder.get(), &format, &needed) !=
                    JXL_DEC_SUCCESS ||
                needed != rgba.size() ||
                JxlDecoderSetImageOutBuffer(m_decoder.get(), &format, rgba.data(), rgba.size()) !=
                    JXL_DEC_SUCCESS) {
                throw ProjectError("the JPEG XL picture decodes to another size than it declares");
            }
        }
        if (rgba.empty()) {
            throw ProjectError("the JPEG XL file holds no picture");
        }
        return rgbaOntoWhite(rgba.data(), static_cast<std::size_t>(size.width) * 4, size.width,
                             size.height);
    }

private:
    std::unique_ptr<JxlDecoder, DecoderRelease> m_decoder;
    JxlBasicInfo m_info{};
};

} // namespace

bool JxlReader::sniff(Bytes bytes) const {
    const JxlSignature signature = JxlSignatureCheck(bytes.data(), bytes.size());
    return signature == JXL_SIG_CODESTREAM || signature == JXL_SIG_CONTAINER;
}

PictureSize JxlReader::probe(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a JPEG XL file");
    }
    return JxlDecoding(source.bytes, JXL_DEC_BASIC_INFO).basicInfo();
}

Bitmap JxlReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a JPEG XL file");
    }
    JxlDecoding decoding(source.bytes, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
    const PictureSize size = decoding.basicInfo();
    return decoding.firstFrame(size);
}

} // namespace vellumar
