#include "pcd_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "project_error.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace pcd {

constexpr std::size_t kSignatureOffset = 0x800;    // "PCD_IPI" of the image pack
constexpr std::string_view kSignature = "PCD_IPI"; // no terminator on disk
constexpr std::size_t kOrientationOffset = 0xe02;  // low 2 bits: quarter turns of the scan
constexpr std::size_t kBaseOffset = 0x30000;       // first row pair of the Base picture
constexpr int kBaseWidth = 768;                    // Base picture width in luma samples
constexpr int kBaseHeight = 512;                   // Base picture height in luma rows
constexpr std::size_t kRowPairBytes = 2 * kBaseWidth + kBaseWidth; // 2 luma + 2 half chroma
constexpr std::size_t kBaseBytes = kRowPairBytes * (kBaseHeight / 2);

} // namespace pcd

namespace {

std::uint8_t clampToByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

// Kodak's conversion of 8-bit Photo-CD YCC to RGB.
Rgb yccToRgb(std::uint8_t y, std::uint8_t c1, std::uint8_t c2) {
    const double luma = 1.3584 * y;
    const double chroma1 = 2.2179 * (c1 - 156);
    const double chroma2 = 1.8215 * (c2 - 137);
    return {clampToByte(luma + chroma2), clampToByte(luma - 0.194 * chroma1 - 0.509 * chroma2),
            clampToByte(luma + chroma1)};
}

bool hasSignature(Bytes bytes) {
    return bytes.size() > pcd::kSignatureOffset + pcd::kSignature.size() &&
           std::memcmp(bytes.data() + pcd::kSignatureOffset, pcd::kSignature.data(),
                       pcd::kSignature.size()) == 0;
}

int quarterTurns(Bytes bytes) {
    if (!hasSignature(bytes)) {
        throw ProjectError("the file is not a Photo-CD image pack (no PCD_IPI signature)");
    }
    ByteReader cursor(bytes);
    cursor.seek(pcd::kOrientationOffset);
    return cursor.u8() & 3;
}

PictureSize uprightSize(int turns) {
    return turns % 2 == 0 ? checkPictureSize(pcd::kBaseWidth, pcd::kBaseHeight)
                          : checkPictureSize(pcd::kBaseHeight, pcd::kBaseWidth);
}

// Where pixel (x, y) of the scan lands once the picture stands upright.
void placeUpright(Bitmap& picture, int turns, int x, int y, Rgb colour) {
    const int w = pcd::kBaseWidth;
    const int h = pcd::kBaseHeight;
    switch (turns) {
    case 1: // a quarter turn counter-clockwise
        picture.setPixel(y, w - 1 - x, colour);
        break;
    case 2:
        picture.setPixel(w - 1 - x, h - 1 - y, colour);
        break;
    case 3: // a quarter turn clockwise
        picture.setPixel(h - 1 - y, x, colour);
        break;
    default:
        picture.setPixel(x, y, colour);
    }
}

} // namespace

bool PcdReader::sniff(Bytes bytes) const {
    return hasSignature(bytes);
}

PictureSize PcdReader::probe(const PictureSource& source) const {
    return uprightSize(quarterTurns(source.bytes));
}

Bitmap PcdReader::decode(const PictureSource& source) const {
    const int turns = quarterTurns(source.bytes);
    if (source.bytes.size() < pcd::kBaseOffset + pcd::kBaseBytes) {
        throw ProjectError("the Photo-CD file ends before its 768 x 512 base picture");
    }
    const PictureSize size = uprightSize(turns);
    Bitmap picture(size.width, size.height);
    const std::uint8_t* pair = source.bytes.data() + pcd::kBaseOffset;
    for (int y = 0; y < pcd::kBaseHeight; y += 2, pair += pcd::kRowPairBytes) {
        const std::uint8_t* chroma1 = pair + 2 * pcd::kBaseWidth;
        const std::uint8_t* chroma2 = chroma1 + pcd::kBaseWidth / 2;
        for (int row = 0; row < 2; ++row) {
            const std::uint8_t* luma = pair + row * pcd::kBaseWidth;
            for (int x = 0; x < pcd::kBaseWidth; ++x) {
                placeUpright(picture, turns, x, y + row,
                             yccToRgb(luma[x], chroma1[x / 2], chroma2[x / 2]));
            }
        }
    }
    return picture;
}

} // namespace vellumar
