#pragma once

#include "readers/picture_reader.h"

namespace vellumar {

// Kodak Photo-CD image packs. Only the Base resolution (768 x 512) is read; the larger
// resolutions need Huffman-coded residuals that the Base picture does without.
//
// Layout read here:
//   0x0000  2048 bytes  overview header (unused)
//   0x0800  "PCD_IPI"   the image pack's signature
//   0x0e02  1 byte      low 2 bits: how the scan stands; 0 upright, 1 needs a quarter turn
//                       counter-clockwise to stand upright, 2 a half turn, 3 a quarter turn
//                       clockwise
//   0x2000  Base/16 (192 x 128) and 0xb800 Base/4 (384 x 256) pictures (unused)
//   0x30000 Base picture: 256 groups, one per pair of rows, each 768 luma bytes for the
//           upper row, 768 luma bytes for the lower row, then 384 bytes of chroma 1 and 384
//           of chroma 2 shared by both rows (every chroma sample covers 2 x 2 pixels).
// Luma and chroma are Photo-CD YCC, turned into RGB by Kodak's conversion.
class PcdReader : public PictureReader {
public:
    bool sniff(Bytes bytes) const override;
    PictureSize probe(const PictureSource& source) const override;
    Bitmap decode(const PictureSource& source) const override;
};

} // namespace vellumar
