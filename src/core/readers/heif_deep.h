#pragma once

#include <libheif/heif.h>

#include "imaging/bitmap.h"

namespace vellumar {

class ColourConverter;

// Whether the picture's samples have more than 8 bits (10 and 12 are common), so that its
// colours are converted before they are cut down.
bool heifHasDeepSamples(const heif_image_handle* handle);

// The picture libheif decoded as interleaved little-endian 16-bit words of bits significant
// bits (heif_chroma_interleaved_RRGGBB_LE, or RRGGBBAA_LE with alpha), widened to 16 bits,
// laid onto white and converted (SampleLayout::Rgb16) into bitmap, which has the picture's
// size. The caller has checked that the plane is that size and its rows that long.
void convertHeifDeepRows(const std::uint8_t* plane, std::size_t stride, int bits, bool alpha,
                         Bitmap& bitmap, const ColourConverter& converter);

} // namespace vellumar
