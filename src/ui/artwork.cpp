#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vellumar {

namespace {

const QColor kAccent(32, 84, 160);

// A transparent canvas of the given logical size, painted in logical coordinates.
QPixmap canvas(QSize size, qreal pixelRatio) {
    QPixmap picture(size * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

QPixmap stepTabPicture(const QString& label, bool current, qreal pixelRatio) {
    QPixmap picture = canvas(kStepTabSize, pixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(kStepTabSize));
    QLinearGradient plate(0, 0, 0, area.height());
    plate.setColorAt(0, current ? kAccent.lighter(130) : QColor(244, 244, 244));
    plate.setColorAt(1, current ? kAccent : QColor(214, 214, 214));
    painter.setBrush(plate);
    painter.setPen(QPen(current ? kAccent.darker(130) : QColor(160, 160, 160), 1));
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(current ? Qt::white : QColor(48, 48, 48));
    painter.drawText(area, Qt::AlignCenter, label);
    return picture;
}

QPixmap logoPicture(int size, qreal pixelRatio) {
    QPixmap picture = canvas(QSize(size, size), pixelRatio);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    const QRectF frame(unit, unit * 2, unit * 14, unit * 12);
    painter.setPen(QPen(kAccent.darker(120), unit));
    painter.setBrush(QColor(222, 236, 252));
    painter.drawRoundedRect(frame, unit, unit);
    QPainterPath mountain;
    mountain.moveTo(frame.left() + unit, frame.bottom() - unit);
    mountain.lineTo(frame.left() + unit * 5, frame.top() + unit * 5);
    mountain.lineTo(frame.left() + unit * 8, frame.top() + unit * 8);
    mountain.lineTo(frame.left() + unit * 10, frame.top() + unit * 6);
    mountain.lineTo(frame.right() - unit, frame.bottom() - unit);
    mountain.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawPath(mountain);
    painter.setBrush(QColor(245, 190, 60));
    painter.drawEllipse(QPointF(frame.right() - unit * 3.5, frame.top() + unit * 3), unit * 1.5,
                        unit * 1.5);
    return picture;
}

} // namespace vellumar
