#include "color_swatch.h"

#include <QHBoxLayout>
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

ColorChooser::ColorChooser(Color& setting, const QString& caption, UserDialogs& dialogs,
                           QWidget* parent)
    : QWidget(parent), m_setting(setting) {
    swatch = new ColorSwatch(this);
    button = new QPushButton(caption, this);
    button->setFixedWidth(32);
    connect(button, &QPushButton::clicked, this, [this, &dialogs] {
        if (const auto color = dialogs.chooseColor()) {
            m_setting = *color;
            showSetting();
        }
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(swatch);
    layout->addWidget(button);
    showSetting();
}

void ColorChooser::showSetting() {
    swatch->setColor(m_setting);
}

} // namespace vellumar
