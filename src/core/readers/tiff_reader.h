#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// TIFF pictures through libtiff, the first page: uncompressed, LZW, CCITT G3/G4, PackBits,
// deflate and JPEG data in strips or tiles; bilevel, grayscale, palette, RGB, CMYK and the
// other photometric kinds libtiff turns into RGBA, and grey or RGB of floating-point samples.
// Alpha is composited onto white. The file is read as libtiff asks for its parts. An embedded
// profile (the ICC tag) gives the colours; plain CMYK ink goes through it, or through the
// press profile without one, and so do 16-bit grey and RGB samples before they are cut to 8
// bits. CIE L*a*b* (8 or 16 bits) is converted from the samples themselves.
class TiffReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    bool convertsColour(const PictureSource& source) const override;
    bool readsInPieces() const override { return true; }
};

} // namespace vellumar
