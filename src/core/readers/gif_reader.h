#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// GIF pictures through giflib: the first frame on the logical screen, interlaced or not.
// A frame that fills the screen without transparency keeps its palette; otherwise the
// picture is 24-bit with transparent and uncovered pixels white.
class GifReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
