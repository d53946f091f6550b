#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// HEIF pictures (HEIC's HEVC and AVIF's AV1 alike) through libheif: the primary picture,
// turned and mirrored as the file's own transformations say. Transparency is composited
// onto white. Its colours are those of its embedded profile (prof, rICC) or of its coded
// primaries and transfer (nclx); samples of more than 8 bits in colours other than sRGB are
// decoded at their full depth and converted before they are cut down.
class HeifReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    bool convertsColour(const PictureSource& source) const override;
    // The library decodes into a picture of its own, RGB or, with alpha, RGBA, of 8 or 16
    // bits a sample, before it becomes the bitmap.
    std::uint64_t decodeMemory(const PictureSource& source, PictureSize size) const override;
    bool turnsByItself() const override { return true; }
};

} // namespace vellumar
