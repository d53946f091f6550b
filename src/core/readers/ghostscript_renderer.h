#pragma once

#include <optional>

#include "imaging/bitmap.h"
#include "readers/picture_reader.h"

namespace vellumar {

// Draws PostScript (an EPS program) with Ghostscript, cropped to its bounding box at 72
// dots an inch onto white. Returns nothing when the `gs` program is not installed; fails
// with a ProjectError when Ghostscript cannot draw the program or runs too long.
std::optional<Bitmap> renderWithGhostscript(Bytes postscript);

} // namespace vellumar
