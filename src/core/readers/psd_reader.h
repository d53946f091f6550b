#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Photoshop pictures: the merged image stored after the layers, raw or PackBits-compressed,
// in bitmap, gray, indexed, RGB or CMYK colour at 8 or 16 bits a channel.
class PsdReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    // The embedded profile of an RGB or grayscale picture.
    ColourDescription colour(const PictureSource& source) const override;
};

} // namespace vellumar
