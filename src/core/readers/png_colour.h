#pragma once

#include "colour/colour_description.h"
#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

class ColourConverter;

// How a PNG's colours are to be understood, from the chunks ahead of its picture data, in the
// order of precedence PNG gives them: an embedded profile (iCCP; damaged when it does not
// inflate), the sRGB chunk, then gAMA with cHRM. A file with none of them is sRGB.
ColourDescription pngColour(Bytes bytes);

// Decodes a PNG without libpng's gamma handling, each row laid onto white in the file's own
// colours and then converted, 16-bit samples before they are cut to 8 bits, into bitmap,
// which has the picture's size. Interlaced pictures too are read one reduced row at a time:
// nothing beside the bitmap grows with the picture. libpng's failures are raised as
// "the PNG data cannot be decoded: <libpng's message>".
void readPngConverted(Bytes bytes, Bitmap& bitmap, const ColourConverter& converter);

// Whether the PNG's samples are 16-bit, which readPngConverted hands to its converter as
// they are.
bool pngHasDeepSamples(Bytes bytes);

} // namespace vellumar
