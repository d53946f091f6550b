#include <cstdint>
#include <initializer_list>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "project_error.h"
#include "readers/dib_decoder.h"

namespace vellumar {
namespace {

using ::testing::HasSubstr;

// A DIB built field by field, little-endian as the format stores it.
class DibBytes {
public:
    DibBytes& u16(std::uint32_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    DibBytes& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    DibBytes& bytes(std::initializer_list<std::uint8_t> values) {
        m_bytes.insert(m_bytes.end(), values);
        return *this;
    }
    // A header of headerSize bytes whose fields past the 40 of the info header are zero
    // unless alphaMask is given (at offset 52, where version 3 headers keep it).
    DibBytes& infoHeader(std::int32_t width, std::int32_t height, int bitCount,
                         std::uint32_t compression, std::uint32_t coloursUsed = 0,
                         std::uint32_t headerSize = 40, std::uint32_t alphaMask = 0) {
        u32(headerSize).u32(static_cast<std::uint32_t>(width));
        u32(static_cast<std::uint32_t>(height)).u16(1).u16(static_cast<std::uint32_t>(bitCount));
        u32(compression).u32(0).u32(0).u32(0).u32(coloursUsed).u32(0);
        while (m_bytes.size() < headerSize) {
            m_bytes.push_back(0);
        }
        if (headerSize >= 56) {
            for (int i = 0; i < 4; ++i) {
                m_bytes[52 + i] = static_cast<std::uint8_t>(alphaMask >> (8 * i));
            }
        }
        return *this;
    }
    std::size_t size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& data() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

DibPicture decode(const DibBytes& dib, std::uint64_t pixelOffset) {
    return decodeDib(ByteSource(dib.data()), readDibHeader(dib.data()), pixelOffset);
}

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

TEST(DibDecoder, StoresRowsBottomUpUnlessTheHeightIsNegative) {
    for (const bool topDown : {false, true}) {
        DibBytes dib;
        dib.infoHeader(1, topDown ? -2 : 2, 24, 0);
        const std::size_t pixels = dib.size();
        dib.bytes({0, 0, 255, 0}).bytes({255, 0, 0, 0}); // red row, blue row, padded to 4
        const DibPicture picture = decode(dib, pixels);
        EXPECT_EQ(picture.bitmap.pixel(0, 0), topDown ? kRed : kBlue);
        EXPECT_EQ(picture.bitmap.pixel(0, 1), topDown ? kBlue : kRed);
        EXPECT_TRUE(picture.alpha.empty());
    }
}

TEST(DibDecoder, APaletteEndsWhereThePixelsStartAndMissingColoursAreBlack) {
    DibBytes dib;
    dib.infoHeader(4, 1, 4, 0, 16); // claims 16 colours, holds 2
    dib.bytes({0, 0, 255, 0, 0, 255, 0, 0});
    const std::size_t pixels = dib.size();
    dib.bytes({0x01, 0x2F, 0, 0});
    const DibPicture picture = decode(dib, pixels);
    ASSERT_EQ(picture.bitmap.layout(), Bitmap::Layout::Palette8);
    EXPECT_EQ(picture.bitmap.pixel(0, 0), kRed);
    EXPECT_EQ(picture.bitmap.pixel(1, 0), kGreen);
    EXPECT_EQ(picture.bitmap.pixel(2, 0), kBlack);
    EXPECT_EQ(picture.bitmap.pixel(3, 0), kBlack);
}

TEST(DibDecoder, OldOs2HeadersHaveThreeBytePaletteEntries) {
    DibBytes dib;
    dib.u32(12).u16(2).u16(1).u16(1).u16(1); // 2 x 1 pixels, 1 bit
    dib.bytes({0, 0, 255, 255, 0, 0});
    const std::size_t pixels = dib.size();
    dib.bytes({0x40, 0, 0, 0});
    const DibPicture picture = decode(dib, pixels);
    EXPECT_EQ(picture.bitmap.pixel(0, 0), kRed);
    EXPECT_EQ(picture.bitmap.pixel(1, 0), kBlue);
}

TEST(DibDecoder, BitFieldsFollowAnInfoHeaderAndScaleEachChannelToEightBits) {
    DibBytes dib;
    dib.infoHeader(2, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x001F); // 5-6-5
    const DibHeader header = readDibHeader(dib.data());
    EXPECT_EQ(header.paletteOffset, 52u);
    dib.u16(0xF800).u16(0x0400); // full red; green at 32 of 63
    const DibPicture picture = decodeDib(ByteSource(dib.data()), header, 52);
    EXPECT_EQ(picture.bitmap.pixel(0, 0), kRed);
    EXPECT_EQ(picture.bitmap.pixel(1, 0), (Rgb{0, 130, 0}));

    DibBytes tooWide;
    tooWide.infoHeader(1, 1, 16, 3).u32(0x10000).u32(0xFF).u32(0xF00);
    EXPECT_THAT([&] { readDibHeader(tooWide.data()); },
                ::testing::ThrowsMessage<ProjectError>(
                    HasSubstr("a colour mask does not fit in 16-bit pixels")));
}

TEST(DibDecoder, KeepsAlphaOnlyWhenSomePixelCarriesIt) {
    for (const std::uint8_t alpha : {0, 128}) {
        DibBytes dib;
        dib.infoHeader(2, 1, 32, 0, 0, 56, 0xFF000000);
        dib.bytes({0, 0, 255, alpha, 255, 0, 0, 0});
        const DibPicture picture = decode(dib, 56);
        EXPECT_EQ(picture.bitmap.pixel(0, 0), kRed);
        EXPECT_EQ(picture.bitmap.pixel(1, 0), kBlue);
        if (alpha == 0) {
            EXPECT_TRUE(picture.alpha.empty()); // writers that ignore alpha leave it zero
        } else {
            EXPECT_EQ(picture.alpha, (std::vector<std::uint8_t>{128, 0}));
        }
    }
    DibBytes overlapping; // an alpha mask over the colour bits is not alpha
    overlapping.infoHeader(1, 1, 32, 0, 0, 56, 0x000000FF).bytes({7, 0, 0, 0});
    EXPECT_TRUE(decode(overlapping, 56).alpha.empty());
}

TEST(DibDecoder, RunLengthsSkipPixelsWithDeltasAndMayOmitTheFinalEndMarker) {
    DibBytes dib;
    dib.infoHeader(4, 2, 8, 1, 2);
    dib.bytes({0, 0, 255, 0, 255, 0, 0, 0}); // 0 red, 1 blue
    const std::size_t pixels = dib.size();
    dib.bytes({2, 1});             // two blue pixels on the bottom row
    dib.bytes({0, 2, 0, 1});       // delta: one row up, same column
    dib.bytes({0, 3, 1, 0, 1, 0}); // a literal run of three, padded
    const DibPicture picture = decode(dib, pixels);
    EXPECT_EQ(picture.bitmap.pixel(0, 1), kBlue);
    EXPECT_EQ(picture.bitmap.pixel(1, 1), kBlue);
    EXPECT_EQ(picture.bitmap.pixel(2, 1), kRed); // skipped by the delta
    EXPECT_EQ(picture.bitmap.pixel(0, 0), kRed);
    EXPECT_EQ(picture.bitmap.pixel(1, 0), kRed);
    EXPECT_EQ(picture.bitmap.pixel(2, 0), kBlue);
    EXPECT_EQ(picture.bitmap.pixel(3, 0), kRed);
}

TEST(DibDecoder, SaysWhichLayoutItCannotDecode) {
    const auto headerError = [](const DibBytes& dib) {
        try {
            readDibHeader(dib.data());
        } catch (const ProjectError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(headerError(DibBytes().infoHeader(1, 1, 24, 0, 0, 100)),
              "unknown bitmap header size (100 bytes)");
    EXPECT_EQ(headerError(DibBytes().infoHeader(-3, 1, 24, 0)),
              "the bitmap width is negative (-3)");
    EXPECT_EQ(headerError(DibBytes().infoHeader(1, 1, 24, 4)),
              "bitmaps holding JPEG data are not supported");
    EXPECT_EQ(headerError(DibBytes().infoHeader(1, 1, 24, 3, 0, 20)),
              "Huffman-compressed OS/2 bitmaps are not supported");
    EXPECT_EQ(headerError(DibBytes().infoHeader(1, 1, 4, 1)),
              "the compression does not suit 4 bits per pixel");
    EXPECT_EQ(headerError(DibBytes().infoHeader(1, 1, 3, 0)),
              "unsupported bit depth (3 bits per pixel)");

    DibBytes rowsMissing;
    rowsMissing.infoHeader(1000, 1000, 24, 0).bytes({1, 2, 3});
    EXPECT_THAT([&] { decode(rowsMissing, 40); },
                ::testing::ThrowsMessage<ProjectError>(HasSubstr("truncated")));
    EXPECT_THAT([&] { decode(rowsMissing, 20); },
                ::testing::ThrowsMessage<ProjectError>(
                    HasSubstr("the pixel data starts inside the bitmap header")));
}

} // namespace
} // namespace vellumar
