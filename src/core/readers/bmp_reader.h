#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Windows and OS/2 bitmaps (.bmp, .rle, .dib): 1 to 32 bits a pixel, uncompressed, RLE4,
// RLE8 or with colour masks. Pictures of up to 8 bits a pixel keep their palette.
class BmpReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
