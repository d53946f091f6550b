#include "color_swatch.h"

#include <QPainter>
#include <QPushButton>

#include "user_dialogs.h"

namespace vellumar {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFixedSize(32, 18);
    // A hidden swatch keeps its place, so the row does not jump when it is switched off.
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
}

void ColorSwatch::setColor(Color color) {
    m_color = color;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), QColor(redOf(m_color), greenOf(m_color), blueOf(m_color)));
    painter.end();
    QFrame::paintEvent(event);
}

void connectColorChooser(QPushButton* chooser, ColorSwatch* swatch, Color& setting,
                         UserDialogs& dialogs) {
    QObject::connect(chooser, &QPushButton::clicked, swatch, [swatch, &setting, &dialogs] {
        if (const auto color = dialogs.chooseColor()) {
            setting = *color;
            swatch->setColor(*color);
        }
    });
}

} // namespace vellumar
