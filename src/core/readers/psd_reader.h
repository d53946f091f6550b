#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Photoshop pictures: the merged image stored after the layers, raw or PackBits-compressed,
// in bitmap, gray, indexed, RGB or CMYK colour at 8 or 16 bits a channel. CMYK ink goes
// through the embedded profile, or the press profile without one, as it is read; so do 16-bit
// RGB and gray samples with a profile, before they are cut to 8 bits.
class PsdReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    // The embedded profile (image resource 1039); CMYK without one is taken as printed on a
    // press.
    ColourDescription colour(const PictureSource& source) const override;
    bool convertsColour(const PictureSource& source) const override;
};

} // namespace vellumar
