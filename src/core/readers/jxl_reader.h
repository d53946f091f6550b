#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// JPEG XL pictures through libjxl, bare codestreams and containers alike: the first frame,
// turned as the file's own orientation says. Transparency is composited onto white
// row by row as the library hands the rows over, so the decode takes the bitmap alone. The
// colours are those the library decodes to: the file's own, as an ICC profile, unless they
// are sRGB.
class JxlReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    bool turnsByItself() const override { return true; }
};

} // namespace vellumar
