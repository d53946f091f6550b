#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Windows icons (.ico): the largest picture of the icon, by pixel count and then bit depth,
// whether stored as a bitmap or as PNG, laid onto white where it is transparent.
class IcoReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
