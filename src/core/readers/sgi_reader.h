#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// SGI pictures: one to four channels (gray, gray and alpha, RGB, RGBA) of 8 or 16 bits,
// stored verbatim or run-length encoded, rows from the bottom up.
class SgiReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
