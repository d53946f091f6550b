#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// JPEG/JFIF pictures through libjpeg: 24-bit RGB, block smoothing on, the
// library's default DCT method and upsampling. Grayscale, RGB, CMYK and YCCK data all come
// back as RGB; CMYK and YCCK through their embedded profile, or a press profile without one,
// into the colour space asked for.
class JpegReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    bool convertsColour(const PictureSource& source) const override;
    // The picture with both sides divided by reduction (1, 2, 4 or 8) and rounded up, which
    // libjpeg does while decoding: the discarded detail is never computed.
    Bitmap decodeReduced(const PictureSource& source, int reduction) const;
};

} // namespace vellumar
