#pragma once

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// A device-independent bitmap as metafile records carry it: an info header (the 12-byte
// core header or the 40-byte info header and its later extensions), a colour table, and
// uncompressed rows of 1, 4, 8, 24 or 32 bits a pixel, padded to four bytes, bottom row
// first unless the height is negative.
struct MetafileDib {
    Bitmap picture;        // 24-bit, top row first
    bool bottomUp = false; // the rows were stored bottom row first
};

// Decodes a DIB whose header and colour table are in `info` and whose rows are in `bits`.
MetafileDib decodeMetafileDib(Bytes info, Bytes bits);

// Decodes a packed DIB: header, colour table and rows one after the other.
MetafileDib decodePackedMetafileDib(Bytes packed);

} // namespace vellumar
