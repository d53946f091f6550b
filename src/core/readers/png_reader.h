#pragma once

#include <optional>

#include "colour/colour_conversion.h"
#include "readers/picture_reader.h"

namespace vellumar {

// PNG pictures through libpng: every bit depth and colour type, interlaced or not. Alpha,
// a palette's transparency included, is composited onto white. Pictures decode straight into
// their bitmap, those with transparency one row at a time. A picture whose chunks give its
// colours (a profile, gamma and primaries) is read in them and converted row by row.
class PngReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    bool convertsColour(const PictureSource& source) const override;

private:
    std::optional<ColourConverter> converterFor(const PictureSource& source) const;
};

} // namespace vellumar
