#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vellumar {

// The pictures are drawn for a screen's device pixel ratio, so they stay sharp on scaled
// screens; their size is given in the window's own (logical) pixels.

// The pictures of the step tab buttons: the step's label on a rounded plate.
inline constexpr QSize kStepTabSize(112, 34);
QPixmap stepTabPicture(const QString& label, bool current, qreal pixelRatio);

// The logo of the header band, also the window icon: a framed picture with a mountain.
QPixmap logoPicture(int size, qreal pixelRatio = 1.0);

} // namespace vellumar
