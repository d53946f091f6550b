#pragma once

#include <QImage>

#include "imaging/bitmap.h"

namespace vellumar {

// A copy of the bitmap as a Qt image, for showing it on screen.
QImage toQImage(const Bitmap& bitmap);

} // namespace vellumar
