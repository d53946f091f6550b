#pragma once

#include "imaging/bitmap.h"
#include "imaging/crop_align.h"

namespace vellumar {

// Cuts a width x height window out of source at its own resolution, placed by crop.
// Where the window reaches beyond the picture the result is black.
Bitmap Crop(const Bitmap& source, CropAlign crop, int width, int height);

} // namespace vellumar
