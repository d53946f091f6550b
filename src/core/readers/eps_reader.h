#pragma once

#include <functional>
#include <optional>

#include "readers/picture_reader.h"

namespace vellumar {

// Draws a PostScript program onto white at 72 dots an inch, cropped to its bounding box;
// returns nothing when no drawing program is available.
using PostScriptRenderer = std::function<std::optional<Bitmap>(Bytes postscript)>;

// Encapsulated PostScript. A file with the DOS binary header shows its TIFF preview, or
// else its Windows metafile preview, read by those formats' readers. A file without a
// preview (plain EPS, or a binary header without one) is drawn by the renderer, by default
// Ghostscript; its size is the %%BoundingBox at 72 dots an inch.
class EpsReader : public PictureReader {
public:
    explicit EpsReader(PostScriptRenderer renderer);
    EpsReader();

    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;

private:
    PostScriptRenderer m_renderer;
};

} // namespace vellumar
