#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// WebP pictures through libwebp, lossy or lossless; an animation gives its first frame.
// Transparency is composited onto white. An embedded profile (ICCP) gives its colours.
class WebpReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
    ColourDescription colour(const PictureSource& source) const override;
    // A still picture without transparency decodes straight into the bitmap, one with it into
    // RGBA that becomes the bitmap; beside them the library may hold a whole picture of its
    // own while it decodes.
    std::uint64_t decodeMemory(const PictureSource& source, PictureSize size) const override;
};

} // namespace vellumar
