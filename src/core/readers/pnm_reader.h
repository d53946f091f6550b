#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Portable pixel, gray and bit maps (.ppm, .pgm, .pbm), plain (P1 to P3) and raw (P4 to P6),
// with samples up to 16 bits scaled to 8. Bit and gray maps come back with a palette.
class PnmReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
