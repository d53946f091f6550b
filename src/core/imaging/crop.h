#pragma once

#include "imaging/bitmap.h"

namespace vellumar {

// Cuts a width x height window out of source at its own resolution, placed by crop (a
// CropAlign value: TopLeft, Center or RightBottom; any other value above RightBottom acts as
// Center). Where the window reaches beyond the picture the result is black.
Bitmap Crop(const Bitmap& source, int crop, int width, int height);

} // namespace vellumar
