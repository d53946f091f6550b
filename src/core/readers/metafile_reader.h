#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Windows metafiles, both the 16-bit kind (.wmf, with or without the placeable header) and
// enhanced metafiles (.emf), drawn onto white at the size the file gives. The file's own
// signature decides which kind it is, whatever its extension.
class MetafileReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
