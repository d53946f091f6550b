#include "jxl_reader.h"

#include <jxl/decode.h>
#include <memory>
#include <utility>
#include <vector>

#include "project_error.h"
#include "readers/alpha_onto_white.h"

namespace vellumar {

namespace {

struct DecoderRelease {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};

// The picture the decoder's rows are laid onto white in. A row that would fall outside it is
// dropped and remembered, as the callback cannot fail the decode.
struct RowTarget {
    Bitmap bitmap;
    bool strayed = false;
};

void layRowOntoWhite(void* target, std::size_t x, std::size_t y, std::size_t pixels,
                     const void* rgba) {
    auto* rows = static_cast<RowTarget*>(target);
    const auto width = static_cast<std::size_t>(rows->bitmap.width());
    if (y >= static_cast<std::size_t>(rows->bitmap.height()) || x > width || pixels > width - x) {
        rows->strayed = true;
        return;
    }
    rgbaRowOntoWhite(static_cast<const std::uint8_t*>(rgba), static_cast<int>(pixels),
                     rows->bitmap.row(static_cast<int>(y)) + x * 3);
}

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

    // The colours of the pixels the decoder hands over.
    ColourDescription colour() {
        while (next() != JXL_DEC_COLOR_ENCODING) {
        }
        JxlColorEncoding encoding{};
        if (JxlDecoderGetColorAsEncodedProfile(m_decoder.get(), nullptr,
                                               JXL_COLOR_PROFILE_TARGET_DATA,
                                               &encoding) == JXL_DEC_SUCCESS &&
            isSrgb(encoding)) {
            return ColourDescription::srgb();
        }
        std::size_t size = 0;
        if (JxlDecoderGetICCProfileSize(m_decoder.get(), nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                        &size) != JXL_DEC_SUCCESS ||
            size == 0) {
            return ColourDescription::srgb();
        }
        std::vector<std::uint8_t> profile(size);
        if (JxlDecoderGetColorAsICCProfile(m_decoder.get(), nullptr, JXL_COLOR_PROFILE_TARGET_DATA,
                                           profile.data(), size) != JXL_DEC_SUCCESS) {
            profile.clear(); // unreadable, as a damaged profile
        }
        return ColourDescription::iccProfile(std::move(profile));
    }

    // Each row is laid onto white straight into the bitmap as the decoder hands it over, so
    // no RGBA copy of the whole picture exists.
    Bitmap firstFrame(PictureSize size) {
        const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
        RowTarget target;
        for (JxlDecoderStatus status = next(); status != JXL_DEC_FULL_IMAGE; status = next()) {
            if (status != JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
                continue;
            }
            std::size_t needed = 0;
            target.bitmap = Bitmap::uninitialized(size.width, size.height);
            if (JxlDecoderImageOutBufferSize(m_decoder.get(), &format, &needed) !=
                    JXL_DEC_SUCCESS ||
                needed != static_cast<std::size_t>(size.width) * size.height * 4 ||
                JxlDecoderSetImageOutCallback(m_decoder.get(), &format, layRowOntoWhite, &target) !=
                    JXL_DEC_SUCCESS) {
                throw ProjectError("the JPEG XL picture decodes to another size than it declares");
            }
        }
        if (target.bitmap.isEmpty()) {
            throw ProjectError("the JPEG XL file holds no picture");
        }
        if (target.strayed) {
            throw ProjectError("the JPEG XL picture decodes to another size than it declares");
        }
        return std::move(target.bitmap);
    }

private:
    static bool isSrgb(const JxlColorEncoding& encoding) {
        return encoding.color_space != JXL_COLOR_SPACE_XYB &&
               encoding.color_space != JXL_COLOR_SPACE_UNKNOWN &&
               encoding.white_point == JXL_WHITE_POINT_D65 &&
               (encoding.color_space == JXL_COLOR_SPACE_GRAY ||
                encoding.primaries == JXL_PRIMARIES_SRGB) &&
               encoding.transfer_function == JXL_TRANSFER_FUNCTION_SRGB;
    }

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

ColourDescription JxlReader::colour(const PictureSource& source) const {
    try {
        return JxlDecoding(source.bytes, JXL_DEC_COLOR_ENCODING).colour();
    } catch (const ProjectError&) {
        return ColourDescription::srgb(); // decode says what is wrong
    }
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
