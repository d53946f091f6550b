#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vellumar {

// The pictures of the step tab buttons: the step's label on a rounded plate.
QPixmap stepTabPicture(const QString& label, bool current);

// The logo of the header band, also the window icon: a framed picture with a mountain.
QPixmap logoPicture(int size);

} // namespace vellumar
