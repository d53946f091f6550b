#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Dr. Halo pictures: 8-bit run-length encoded rows whose colours come from a palette file
// of the same name beside the picture, or a gray ramp when there is none.
class CutReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
