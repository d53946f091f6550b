#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// JPEG XL pictures through libjxl, bare codestreams and containers alike: the first frame,
// turned as the file's own orientation says. Transparency is composited onto white.
class JxlReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    // The library decodes into RGBA of its own before the picture is laid onto white.
    std::uint64_t decodeMemory(const PictureSource& /*source*/, PictureSize size) const override {
        return rgbaThenRgbBytes(size);
    }
    bool turnsByItself() const override { return true; }
};

} // namespace vellumar
