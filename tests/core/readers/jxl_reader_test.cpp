#include <cstdint>
#include <jxl/decode.h>
#include <jxl/encode.h>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gradient_pictures.h"
#include "reader_fixtures.h"
#include "readers/alpha_onto_white.h"
#include "readers/jxl_reader.h"

namespace vellumar::testing {
namespace {

struct EncoderRelease {
    void operator()(JxlEncoder* encoder) const { JxlEncoderDestroy(encoder); }
};
struct DecoderRelease {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};

// An RGBA picture as libjxl encodes it, lossless or at the given distance, fast.
std::vector<std::uint8_t> encodeJxl(int width, int height, bool lossless) {
    const std::unique_ptr<JxlEncoder, EncoderRelease> encoder(JxlEncoderCreate(nullptr));
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<std::uint32_t>(width);
    info.ysize = static_cast<std::uint32_t>(height);
    info.bits_per_sample = 8;
    info.num_color_channels = 3;
    info.num_extra_channels = 1;
    info.alpha_bits = 8;
    info.uses_original_profile = lossless ? JXL_TRUE : JXL_FALSE;
    JxlColorEncoding colour;
    JxlColorEncodingSetToSRGB(&colour, JXL_FALSE);
    EXPECT_EQ(JxlEncoderSetBasicInfo(encoder.get(), &info), JXL_ENC_SUCCESS);
    EXPECT_EQ(JxlEncoderSetColorEncoding(encoder.get(), &colour), JXL_ENC_SUCCESS);
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, 1);
    if (lossless) {
        JxlEncoderSetFrameLossless(settings, JXL_TRUE);
    } else {
        JxlEncoderSetFrameDistance(settings, 2.0f);
    }
    const std::vector<std::uint8_t> rgba = rgbaGradient(width, height);
    const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    EXPECT_EQ(JxlEncoderAddImageFrame(settings, &format, rgba.data(), rgba.size()),
              JXL_ENC_SUCCESS);
    JxlEncoderCloseInput(encoder.get());
    std::vector<std::uint8_t> file(4096);
    std::size_t written = 0;
    for (;;) {
        std::uint8_t* next = file.data() + written;
        std::size_t room = file.size() - written;
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder.get(), &next, &room);
        written = static_cast<std::size_t>(next - file.data());
        if (status != JXL_ENC_NEED_MORE_OUTPUT) {
            EXPECT_EQ(status, JXL_ENC_SUCCESS);
            break;
        }
        file.resize(file.size() * 2);
    }
    file.resize(written);
    return file;
}

// What the decode gave when libjxl filled a whole RGBA picture first.
Bitmap throughWholeRgba(const std::vector<std::uint8_t>& file) {
    const std::unique_ptr<JxlDecoder, DecoderRelease> decoder(JxlDecoderCreate(nullptr));
    JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
    JxlDecoderSetInput(decoder.get(), file.data(), file.size());
    JxlDecoderCloseInput(decoder.get());
    const JxlPixelFormat format{4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    JxlBasicInfo info{};
    std::vector<std::uint8_t> rgba;
    for (JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
         status != JXL_DEC_FULL_IMAGE; status = JxlDecoderProcessInput(decoder.get())) {
        if (status == JXL_DEC_BASIC_INFO) {
            JxlDecoderGetBasicInfo(decoder.get(), &info);
        } else if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            rgba.resize(static_cast<std::size_t>(info.xsize) * info.ysize * 4);
            JxlDecoderSetImageOutBuffer(decoder.get(), &format, rgba.data(), rgba.size());
        } else {
            ADD_FAILURE() << "decoder status " << status;
            return Bitmap();
        }
    }
    return rgbaOntoWhite(rgba.data(), static_cast<std::size_t>(info.xsize) * 4,
                         static_cast<int>(info.xsize), static_cast<int>(info.ysize));
}

// Spanning several of the library's 256-pixel groups, which it may hand over in parts.
TEST(JxlReader, RowsLaidOntoWhiteAsTheyComeMatchAWholeRgbaPicture) {
    for (const bool lossless : {true, false}) {
        const std::vector<std::uint8_t> file = encodeJxl(300, 270, lossless);
        EXPECT_TRUE(
            matchesPicture(JxlReader().decode({file, "generated.jxl"}), throughWholeRgba(file)))
            << (lossless ? "lossless" : "lossy");
    }
    for (const char* name : {"alpha.jxl", "lossless.jxl", "lossy.jxl"}) {
        const std::vector<std::uint8_t> file = fixtureBytes("jxl", name);
        EXPECT_TRUE(matchesPicture(JxlReader().decode({file, name}), throughWholeRgba(file)))
            << name;
    }
}

TEST(JxlReader, DecodingTakesTheBitmapAlone) {
    const std::vector<std::uint8_t> file = fixtureBytes("jxl", "alpha.jxl");
    const JxlReader reader;
    const PictureSource source{file, "alpha.jxl"};
    const PictureSize size = reader.probe(source);
    EXPECT_EQ(reader.decodeMemory(source, size), rgbBytes(size));
}

} // namespace
} // namespace vellumar::testing
