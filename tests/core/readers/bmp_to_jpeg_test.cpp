#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "atomic_file.h"
#include "imaging/jpeg_writer.h"
#include "project_error.h"
#include "readers/bmp_to_jpeg.h"
#include "support/libjpeg_decode.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using testing::DecodedJpeg;
using testing::decodeWithLibjpeg;

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

TEST_F(JpegOutput, ConvertsAPictureAndReplacesAnEarlierFile) {
    writeFile(m_folder / "in.bmp", {3, 2});
    writeFile(m_folder / "out.jpg", {'o', 'l', 'd'});
    convert(m_folder / "in.bmp", m_folder / "out.jpg");
    const DecodedJpeg decoded = decodeWithLibjpeg(testing::readFileBytes(m_folder / "out.jpg"));
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
