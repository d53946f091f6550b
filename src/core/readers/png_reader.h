#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// PNG pictures through libpng: every bit depth and colour type, interlaced or not. Alpha,
// a palette's transparency included, is composited onto white. Pictures decode straight into
// their bitmap, those with transparency one row at a time.
class PngReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
