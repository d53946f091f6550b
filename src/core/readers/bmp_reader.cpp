#include "bmp_reader.h"

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/byte_reader.h"
#include "readers/dib_decoder.h"

namespace vellumar {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

struct BmpFile {
    Bytes dib; // everything after the file header
    DibHeader header;
    std::uint64_t pixelOffset = 0; // from the start of dib
};

BmpFile readBmpFile(Bytes bytes) {
    ByteReader in(bytes);
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        throw ProjectError("not a BMP file (it does not start with \"BM\")");
    }
    in.seek(10);
    const std::uint32_t pixelOffset = in.u32le();
    if (pixelOffset != 0 && pixelOffset < kFileHeaderSize) {
        throw ProjectError("the pixel data starts inside the file header");
    }
    BmpFile file;
    file.dib = in.tail(kFileHeaderSize);
    file.header = readDibHeader(file.dib);
    // Some writers leave the offset 0; the pixels then follow the palette.
    file.pixelOffset = pixelOffset == 0 ? file.header.defaultPixelOffset()
                                        : std::uint64_t{pixelOffset} - kFileHeaderSize;
    return file;
}

} // namespace

bool BmpReader::sniff(Bytes bytes) const {
    return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

PictureSize BmpReader::probe(const PictureSource& source) const {
    const BmpFile file = readBmpFile(source.bytes);
    return checkPictureSize(file.header.width, file.header.height);
}

Bitmap BmpReader::decode(const PictureSource& source) const {
    const BmpFile file = readBmpFile(source.bytes);
    DibPicture picture = decodeDib(file.dib, file.header, file.pixelOffset);
    if (!picture.alpha.empty()) {
        compositeOntoWhite(picture.bitmap, picture.alpha);
    }
    return std::move(picture.bitmap);
}

} // namespace vellumar
