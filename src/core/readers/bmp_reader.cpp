#include "bmp_reader.h"

#include "project_error.h"
#include "readers/alpha_onto_white.h"
#include "readers/byte_reader.h"
#include "readers/dib_decoder.h"

namespace vellumar {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

struct BmpFile {
    Bytes dib; // what the source holds in memory after the file header
    DibHeader header;
    std::uint64_t pixelOffset = 0; // from the start of dib
};

// The headers, which lie in the first bytes of the file.
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
    DibPicture picture =
        decodeDib(ByteSource::of(source).from(kFileHeaderSize), file.header, file.pixelOffset);
    if (!picture.alpha.empty()) {
        compositeOntoWhite(picture.bitmap, picture.alpha);
    }
    return std::move(picture.bitmap);
}

std::uint64_t BmpReader::decodeMemory(const PictureSource& source, PictureSize size) const {
    const DibHeader header = readBmpFile(source.bytes).header;
    std::uint64_t memory = rgbBytes(size);
    if (header.masks[3] != 0) {
        memory += pixelCount(size); // the alpha of every pixel, until it is laid onto white
    }
    const bool runLength =
        header.compression == DibCompression::Rle4 || header.compression == DibCompression::Rle8;
    if (runLength && source.file) {
        memory += source.file->size(); // compressed rows are read whole
    }
    return memory;
}

} // namespace vellumar
