#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// JPEG/JFIF pictures through libjpeg: full size, 24-bit RGB, block smoothing on, the
// library's default DCT method and upsampling. Grayscale, RGB, CMYK and YCCK data all come
// back as RGB.
class JpegReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
