#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// ZSoft Paintbrush pictures: 1 to 8 bits in one or more planes with the header's or the
// trailing 256-colour palette, and 24-bit colour in three planes.
class PcxReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
