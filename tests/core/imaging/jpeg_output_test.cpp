#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jerror.h>
#include <jpeglib.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/atomic_file.h"
#include "imaging/bmp_to_jpeg.h"
#include "imaging/jpeg_writer.h"
#include "project_error.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct DecodedJpeg {
    bool jfif = false;
    bool progressive = false;
    int lumaQuantizer = 0; // first entry of table 0; 3 at quality 90
    Bitmap picture;
};

// Decodes with libjpeg itself, so the test does not trust our own reader.
DecodedJpeg decode(const Bytes& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    DecodedJpeg result;
    result.jfif = info.saw_JFIF_marker;
    result.progressive = info.progressive_mode;
    result.lumaQuantizer = info.quant_tbl_ptrs[0]->quantval[0];
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    result.picture =
        Bitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result.picture.row(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return result;
}

// The start-of-frame markers in the stream: 0xC0 for baseline.
std::vector<int> frameMarkers(const Bytes& bytes) {
    std::vector<int> markers;
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == 0xFF;) {
        const int marker = bytes[at + 1];
        if (marker == 0xDA) { // scan data follows
            break;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
            marker != 0xCC) {
            markers.push_back(marker);
        }
        at += 2 + (bytes[at + 2] << 8 | bytes[at + 3]);
    }
    return markers;
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A stand-in decoder: the first two bytes are width and height, the picture is marked.
class SizedPictureReader : public PictureReader {
public:
    bool sniff(vellumar::Bytes) const override { return false; }
    PictureSize probe(const PictureSource& source) const override { return sizeOf(source); }
    Bitmap decode(const PictureSource& source) const override {
        const PictureSize size = sizeOf(source);
        return testing::markedPicture(size.width, size.height);
    }

private:
    static PictureSize sizeOf(const PictureSource& source) {
        if (source.bytes.size() < 2) {
            throw ProjectError("too short");
        }
        return checkPictureSize(source.bytes[0], source.bytes[1]);
    }
};

class JpegOutput : public ::testing::Test {
protected:
    JpegOutput() {
        m_registry.registerFormat("bmp", "Windows bitmaps", "", "TBitmap", ReaderKind::Bitmap,
                                  std::make_shared<SizedPictureReader>());
        m_registry.registerFormat("jpg", "JPG images", "", "TJPEGImage", ReaderKind::Jpeg,
                                  std::make_shared<SizedPictureReader>());
    }
    // A test may leave the folder read-only, which would keep its files from being removed.
    ~JpegOutput() override { fs::permissions(m_folder, fs::perms::owner_all); }

    void convert(const fs::path& input, const fs::path& output) {
        TBmpToJpeg converter(m_registry);
        converter.BmpFile = input.string();
        converter.JpegFile = output.string();
        converter.Convert();
    }

    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    PictureFormatRegistry m_registry;
    testing::ScratchFolder m_scratch;
    fs::path m_folder = m_scratch.path();
};

TEST(JpegWriter, WritesBaselineJfifAtQualityNinety) {
    const Bytes bytes = encodeJpeg(testing::markedPicture(40, 30));
    EXPECT_EQ(frameMarkers(bytes), std::vector<int>{0xC0});
    const DecodedJpeg decoded = decode(bytes);
    EXPECT_TRUE(decoded.jfif);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(decoded.lumaQuantizer, 3);
    ASSERT_EQ(decoded.picture.width(), 40);
    ASSERT_EQ(decoded.picture.height(), 30);
    for (const auto& [x, y] : {std::pair{0, 0}, {39, 0}, {20, 15}, {39, 29}}) {
        const Rgb got = decoded.picture.pixel(x, y);
        const Rgb want = testing::markOf(x, y);
        EXPECT_NEAR(got.r, want.r, 8) << x << "," << y;
        EXPECT_NEAR(got.g, want.g, 8) << x << "," << y;
        EXPECT_NEAR(got.b, want.b, 8) << x << "," << y;
    }
}

TEST(JpegWriter, SinglePixelAndPaletteBitmapsEncode) {
    const DecodedJpeg single = decode(encodeJpeg(testing::filledPicture(1, 1, {200, 40, 90})));
    EXPECT_EQ(single.picture.width(), 1);
    EXPECT_NEAR(single.picture.pixel(0, 0).r, 200, 4);

    const DecodedJpeg palette = decode(encodeJpeg(Bitmap::withPalette(8, 8, {{0, 0, 255}})));
    EXPECT_NEAR(palette.picture.pixel(4, 4).b, 255, 4);
}

TEST(JpegWriter, NoisyPictureOutgrowsTheFirstBuffer) {
    Bitmap noise(96, 96);
    std::uint32_t seed = 1;
    for (std::size_t i = 0; i < noise.stride() * 96; ++i) {
        seed = seed * 1664525u + 1013904223u;
        noise.row(0)[i] = static_cast<std::uint8_t>(seed >> 24);
    }
    const Bytes bytes = encodeJpeg(noise);
    EXPECT_GT(bytes.size(), 96u * 96 * 3 / 8 + 4096); // past the encoder's first buffer
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xD9); // ends with the end-of-image marker
    EXPECT_EQ(decode(bytes).picture.width(), 96);
}

TEST(JpegWriter, EmptyBitmapGivesNoBytes) {
    EXPECT_TRUE(encodeJpeg(Bitmap()).empty());
    EXPECT_TRUE(encodeJpeg(Bitmap(5, 0)).empty());
}

TEST(JpegWriter, LibraryFailuresBecomeNumberedErrors) {
    // Wider than a JPEG frame can say: libjpeg refuses it with JERR_IMAGE_TOO_BIG.
    const Bitmap tooWide(65536, 1);
    try {
        encodeJpeg(tooWide);
        FAIL() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()), "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    }
}

TEST_F(JpegOutput, ConvertsAPictureAndReplacesAnEarlierFile) {
    writeFile(m_folder / "in.bmp", {3, 2});
    writeFile(m_folder / "out.jpg", {'o', 'l', 'd'});
    convert(m_folder / "in.bmp", m_folder / "out.jpg");
    const DecodedJpeg decoded = decode(testing::readFileBytes(m_folder / "out.jpg"));
    EXPECT_EQ(decoded.picture.width(), 3);
    EXPECT_EQ(decoded.picture.height(), 2);
    EXPECT_EQ(folderContents(), (std::vector<std::string>{"in.bmp", "out.jpg"}));
}

TEST_F(JpegOutput, JpegInputIsCopiedByteForByte) {
    Bytes original = encodeJpeg(testing::markedPicture(9, 9));
    original.insert(original.end() - 2, {0x12, 0x34}); // not what our encoder would write
    writeFile(m_folder / "in.jpg", original);
    convert(m_folder / "in.jpg", m_folder / "out.jpg");
    EXPECT_EQ(testing::readFileBytes(m_folder / "out.jpg"), original);
}

TEST_F(JpegOutput, FailedConversionKeepsTheEarlierFileAndLeavesNothingBehind) {
    writeFile(m_folder / "out.jpg", {'o', 'l', 'd'});
    writeFile(m_folder / "broken.bmp", {0, 0});
    EXPECT_THROW(convert(m_folder / "missing.bmp", m_folder / "out.jpg"), ProjectError);
    EXPECT_THROW(convert(m_folder / "broken.bmp", m_folder / "out.jpg"), ProjectError);
    try {
        convert(m_folder / "picture.xyz", m_folder / "out.jpg");
        FAIL() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()), "Unknown picture file extension (.xyz)");
    }
    EXPECT_EQ(testing::readFileBytes(m_folder / "out.jpg"), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(folderContents(), (std::vector<std::string>{"broken.bmp", "out.jpg"}));
}

TEST_F(JpegOutput, UncreatableOutputFailsBeforeReading) {
    const std::string missingFolder = (m_folder / "nowhere" / "out.jpg").string();
    try {
        convert(m_folder / "missing.bmp", missingFolder);
        FAIL() << "no error";
    } catch (const ProjectError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + missingFolder + "\". No such file or directory");
    }
}

TEST_F(JpegOutput, OutputThatCannotBeReplacedLeavesNoTemporaryFile) {
    writeFile(m_folder / "in.bmp", {3, 2});
    fs::create_directory(m_folder / "taken.jpg");
    writeFile(m_folder / "taken.jpg" / "inside", {1});
    EXPECT_THROW(convert(m_folder / "in.bmp", m_folder / "taken.jpg"), ProjectError);
    EXPECT_EQ(folderContents(), (std::vector<std::string>{"in.bmp", "taken.jpg"}));
}

TEST_F(JpegOutput, ReadOnlyFolderKeepsTheEarlierFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    writeFile(m_folder / "in.bmp", {3, 2});
    writeFile(m_folder / "out.jpg", {'o', 'l', 'd'});
    fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(convert(m_folder / "in.bmp", m_folder / "out.jpg"), ProjectError);
    fs::permissions(m_folder, fs::perms::owner_all);
    EXPECT_EQ(testing::readFileBytes(m_folder / "out.jpg"), (Bytes{'o', 'l', 'd'}));
}

TEST_F(JpegOutput, WriterDroppedUncommittedRemovesItsTemporaryFile) {
    {
        AtomicFileWriter writer((m_folder / "half.jpg").string());
        writer.write(Bytes{1, 2, 3});
    }
    EXPECT_TRUE(folderContents().empty());
    writeFileAtomically((m_folder / "whole.jpg").string(), Bytes{4, 5});
    EXPECT_EQ(testing::readFileBytes(m_folder / "whole.jpg"), (Bytes{4, 5}));
    writeFile(m_folder / "plain.jpg", Bytes{6});
    EXPECT_EQ(fs::status(m_folder / "whole.jpg").permissions(),
              fs::status(m_folder / "plain.jpg").permissions()); // not a private temporary's
}

} // namespace
} // namespace vellumar
