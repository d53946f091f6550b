#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Autodesk Animator cels and pictures: a 32-byte header, a 256-colour palette of 6-bit
// components and one byte a pixel.
class AutodeskReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
