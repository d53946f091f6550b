#include "bitmap_image.h"

namespace vellumar {

QImage toQImage(const Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB888);
    for (int y = 0; y < bitmap.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const Rgb colour = bitmap.pixel(x, y);
            line[3 * x] = colour.r;
            line[3 * x + 1] = colour.g;
            line[3 * x + 2] = colour.b;
        }
    }
    return image;
}

QPixmap pixmapFilling(const QImage& image, QSize box, qreal devicePixelRatio) {
    QPixmap pixmap = QPixmap::fromImage(
        image.scaled(box * devicePixelRatio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QPixmap pixmapAtRatio(const Bitmap& bitmap, qreal devicePixelRatio) {
    QPixmap pixmap = QPixmap::fromImage(toQImage(bitmap));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace vellumar
