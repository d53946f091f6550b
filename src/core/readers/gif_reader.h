#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// GIF pictures, decoded here: the first frame a browser shows, on the logical screen
// (GifBlocks::firstFrameBlocks). Its image blocks are combined at their positions with their
// transparency and disposal, interlaced or not. A single block that fills the screen without
// transparency keeps its palette; otherwise the picture is 24-bit with transparent and
// uncovered pixels white.
class GifReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
