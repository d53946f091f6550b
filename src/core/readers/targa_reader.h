#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Truevision pictures: colour-mapped, true-colour and gray, plain or run-length encoded,
// 8 to 32 bits a pixel, either origin.
class TargaReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
