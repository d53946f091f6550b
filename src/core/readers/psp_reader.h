#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Paint Shop Pro pictures, file versions 3 (program version 5) and later. Read here:
//   - the General Image Attributes block: size, bit depth (1, 4, 8 with a palette, or 24),
//     greyscale flag and compression (none, run-length, or LZ77 as a zlib stream);
//   - the colour palette block for pictures of up to 8 bits;
//   - the composite image bank, when it holds a full-size composite that is not JPEG
//     compressed; its picture is used as it stands;
//   - otherwise the layers, bottom first: each visible raster layer's channels (red, green,
//     blue, or palette indices) and its transparency mask, placed at its rectangle and
//     blended normally with its opacity; what no layer covers is white.
// Blend modes other than normal are drawn as normal; vector, adjustment and mask-only layers
// and user masks are skipped. Channel rows are padded to four bytes.
class PspReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
