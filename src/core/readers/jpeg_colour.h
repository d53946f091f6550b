#pragma once

#include "colour/colour_description.h"
#include "readers/picture_reader.h"

namespace vellumar {

// How a JPEG's colours are to be understood, from the segments ahead of its picture data: an
// ICC profile split over APP2 segments (damaged, and so unusable, when its numbered pieces do
// not add up), else Adobe RGB where EXIF's InteropIndex says "R03", else sRGB; a CMYK or YCCK
// picture without a profile is taken as printed on a standard press.
ColourDescription jpegColour(Bytes bytes);

} // namespace vellumar
