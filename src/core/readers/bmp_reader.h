#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Windows and OS/2 bitmaps (.bmp, .rle, .dib): 1 to 32 bits a pixel, uncompressed, RLE4,
// RLE8 or with colour masks. Pictures of up to 8 bits a pixel keep their palette.
// Uncompressed rows are read from the file one at a time.
class BmpReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    std::uint64_t decodeMemory(const PictureSource& source, PictureSize size) const override;
    bool readsInPieces() const override { return true; }
};

} // namespace vellumar
