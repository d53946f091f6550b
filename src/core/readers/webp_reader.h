#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// WebP pictures through libwebp, lossy or lossless; an animation gives its first frame.
// Transparency is composited onto white.
class WebpReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    // The library decodes into RGBA of its own before the picture is laid onto white.
    std::uint64_t decodeMemory(const PictureSource& /*source*/, PictureSize size) const override {
        return rgbaThenRgbBytes(size);
    }
};

} // namespace vellumar
