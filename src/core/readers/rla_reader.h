#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Alias/Wavefront run-length pictures (.rla, .rpf): a 740-byte big-endian header, a table
// with the file offset of every scan line, bottom line first, and per scan line each channel
// run-length coded on its own: colour channels (one grey or red, green, blue), then the
// matte (alpha) channels, then auxiliary channels, which are skipped. Channels hold 8 or 16
// bits a sample (16-bit samples are big-endian; their high byte is kept). A matte is
// composited onto white.
class RlaReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
