#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

#include "imaging/bitmap.h"

namespace vellumar {

// A copy of the bitmap as a Qt image, for showing it on screen.
QImage toQImage(const Bitmap& bitmap);

// The image stretched to fill a box of the given logical size, drawn with as many pixels as
// the screen has there, so that it stays sharp where a logical pixel is several device
// pixels.
QPixmap pixmapFilling(const QImage& image, QSize box, qreal devicePixelRatio);

// A bitmap already drawn with devicePixelRatio device pixels a logical pixel, shown at its
// logical size.
QPixmap pixmapAtRatio(const Bitmap& bitmap, qreal devicePixelRatio);

} // namespace vellumar
