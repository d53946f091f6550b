#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "reader_fixtures.h"
#include "readers/bmp_reader.h"
#include "readers/byte_source.h"
#include "readers/tiff_reader.h"
#include "support/scratch_folder.h"
#include "support/test_pictures.h"

namespace vellumar {
namespace {

using testing::markOf;
using testing::matchesPicture;

// Larger than the first bytes a picture file reads to choose its reader, so that the pixels
// (and a TIFF's directory behind them) are only reached by reading the file in pieces.
constexpr int kWidth = 300;
constexpr int kHeight = 200;

class LittleEndian {
public:
    LittleEndian& u16(std::uint32_t value) { return put(value, 2); }
    LittleEndian& u32(std::uint32_t value) { return put(value, 4); }
    LittleEndian& rgbRows(bool bgr, bool bottomUp) {
        for (int row = 0; row < kHeight; ++row) {
            const int y = bottomUp ? kHeight - 1 - row : row;
            for (int x = 0; x < kWidth; ++x) {
                const Rgb c = markOf(x, y);
                bytes.insert(bytes.end(), {bgr ? c.b : c.r, c.g, bgr ? c.r : c.b});
            }
        }
        return *this;
    }
    // A TIFF directory entry holding one value.
    LittleEndian& entry(std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        return u16(tag).u16(type).u32(1).u32(value);
    }

    std::vector<std::uint8_t> bytes;

private:
    LittleEndian& put(std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
        return *this;
    }
};

std::vector<std::uint8_t> bigBmp() {
    const std::uint32_t pixels = kWidth * kHeight * 3; // rows need no padding at this width
    LittleEndian bmp;
    bmp.bytes = {'B', 'M'};
    bmp.u32(54 + pixels).u32(0).u32(54);
    bmp.u32(40).u32(kWidth).u32(kHeight).u16(1).u16(24).u32(0).u32(pixels).u32(0).u32(0).u32(0);
    bmp.u32(0);
    return bmp.rgbRows(true, true).bytes;
}

constexpr char kDateTime[20] = "2024:07:14 18:03:00";

// Uncompressed RGB with its directory after the pixels, as many writers place it, and the
// time the picture was taken and the way the camera was held in it.
std::vector<std::uint8_t> bigTiffWithDirectoryLast(std::uint16_t orientation = 1) {
    constexpr std::uint16_t kAscii = 2;
    constexpr std::uint16_t kShort = 3;
    constexpr std::uint16_t kLong = 4;
    const std::uint32_t pixels = kWidth * kHeight * 3;
    const std::uint32_t bitsAt = 8 + pixels;
    const std::uint32_t dateAt = bitsAt + 6;
    const std::uint32_t directoryAt = dateAt + sizeof kDateTime;
    LittleEndian tiff;
    tiff.bytes = {'I', 'I', 42, 0};
    tiff.u32(directoryAt).rgbRows(false, false).u16(8).u16(8).u16(8);
    tiff.bytes.insert(tiff.bytes.end(), std::begin(kDateTime), std::end(kDateTime));
    tiff.u16(12)
        .entry(256, kLong, kWidth)
        .entry(257, kLong, kHeight)
        .u16(258)
        .u16(kShort)
        .u32(3)
        .u32(bitsAt)
        .entry(259, kShort, 1)
        .entry(262, kShort, 2)
        .entry(273, kLong, 8)
        .entry(274, kShort, orientation)
        .entry(277, kShort, 3)
        .entry(278, kLong, kHeight)
        .entry(279, kLong, pixels)
        .entry(284, kShort, 1)
        .u16(306)
        .u16(kAscii)
        .u32(sizeof kDateTime)
        .u32(dateAt)
        .u32(0);
    return tiff.bytes;
}

std::string saved(const testing::ScratchFolder& scratch, const std::string& name,
                  const std::vector<std::uint8_t>& bytes) {
    const std::string path = scratch.folder() + name;
    testing::writeFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

TEST(PictureFile, ReadsBitmapsAndTiffsFromTheFileInPiecesAsFromMemory) {
    testing::ScratchFolder scratch;
    const Bitmap expected = testing::markedPicture(kWidth, kHeight);
    const BmpReader bmpReader;
    const TiffReader tiffReader;
    const struct {
        std::string name;
        std::vector<std::uint8_t> bytes;
        const PictureReader& reader;
    } cases[] = {{"big.bmp", bigBmp(), bmpReader},
                 {"big.tif", bigTiffWithDirectoryLast(), tiffReader}};
    for (const auto& [name, bytes, reader] : cases) {
        const std::string path = saved(scratch, name, bytes);
        const PictureFile file(path, pictureFormats());
        EXPECT_LT(file.bytes().size(), bytes.size()) << name;
        EXPECT_TRUE(matchesPicture(file.decode(), expected)) << name;
        EXPECT_TRUE(matchesPicture(reader.decode({bytes, name}), expected)) << name;
        EXPECT_EQ(probePictureFile(path, pictureFormats()), (PictureSize{kWidth, kHeight}));
    }
    // The directory, and the metadata in it, lie past the bytes read first.
    const PictureMetadata metadata =
        PictureFile(scratch.folder() + "big.tif", pictureFormats()).metadata();
    EXPECT_EQ(metadata.dateTaken, (DateTaken{2024, 7, 14, 18, 3, 0}));
}

// The orientation tag turns a TIFF in the build as a JPEG's EXIF orientation does, so the
// rows must come as stored: were they flipped as well, the picture would be turned twice.
TEST(PictureFile, ATiffComesAsStoredAndItsOrientationTagTurnsIt) {
    testing::ScratchFolder scratch;
    const Bitmap stored = testing::markedPicture(kWidth, kHeight);
    for (std::uint16_t orientation = 1; orientation <= 8; ++orientation) {
        const PictureFile file(saved(scratch, "turned.tif", bigTiffWithDirectoryLast(orientation)),
                               pictureFormats());
        EXPECT_TRUE(matchesPicture(file.decode(), stored)) << orientation;
        EXPECT_EQ(file.metadata().orientation, orientation);
    }
}

TEST(PictureFile, AFileInPiecesThatEndsEarlyIsRefusedLikeOneInMemory) {
    testing::ScratchFolder scratch;
    std::vector<std::uint8_t> bytes = bigBmp();
    bytes.resize(bytes.size() - 1000);
    const std::string path = saved(scratch, "cut.bmp", bytes);
    const std::string reason = testing::decodeError(BmpReader(), bytes);
    EXPECT_EQ(reason, "the file is truncated (180000 bytes needed at offset 40, it has 179040 "
                      "bytes)");
    try {
        readPictureFile(path, pictureFormats());
        ADD_FAILURE() << "a cut file was read";
    } catch (const ProjectError& error) {
        EXPECT_EQ(error.what(), "Cannot read picture " + path + ": " + reason);
    }
}

// A file read into memory stays there while its picture decodes, so its bytes count with
// the pixels.
TEST(PictureFile, CountsTheBytesItHoldsWithThePixels) {
    const PictureFile file(testing::fixturePath("png", "rgb8.png"), pictureFormats());
    const std::uint64_t needed = rgbBytes({23, 19}) + file.bytes().size();
    MemoryBudget enough(needed);
    EXPECT_NO_THROW(file.reserveDecode(enough));
    MemoryBudget tooLittle(needed - 1);
    EXPECT_THROW(file.reserveDecode(tooLittle), ProjectError);
}

TEST(ByteSource, ReadsTheSameFromMemoryAndFromTheFile) {
    testing::ScratchFolder scratch;
    const std::vector<std::uint8_t> bytes = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const ReadOnlyFile file(saved(scratch, "digits.bin", bytes));
    for (const ByteSource& whole : {ByteSource(Bytes(bytes)), ByteSource(file)}) {
        const ByteSource rest = whole.from(4);
        std::vector<std::uint8_t> buffer;
        EXPECT_EQ(rest.size(), 6u);
        const Bytes two = rest.read(1, 2, buffer);
        EXPECT_EQ(std::string(two.begin(), two.end()), "56");
        std::vector<std::uint8_t> out(4);
        EXPECT_EQ(rest.copy(3, out), 3u);
        EXPECT_EQ(std::string(out.begin(), out.begin() + 3), "789");
        try {
            rest.read(5, 2, buffer);
            ADD_FAILURE() << "read past the end";
        } catch (const ProjectError& error) {
            EXPECT_STREQ(error.what(),
                         "the file is truncated (2 bytes needed at offset 5, it has 6 bytes)");
        }
        EXPECT_THROW(whole.from(11), ProjectError);
    }
}

} // namespace
} // namespace vellumar
