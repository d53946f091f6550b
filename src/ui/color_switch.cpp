#include "color_switch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "color_swatch.h"

namespace vellumar {

ColorSwitch::ColorSwitch(const QString& caption, Switched<Color>& setting, UserDialogs& dialogs,
                         QWidget* parent)
    : QWidget(parent), m_setting(setting) {
    box = new QCheckBox(caption, this);
    m_color = new ColorChooser(m_setting.value, tr("..."), dialogs, this);
    swatch = m_color->swatch;
    chooser = m_color->button;
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        m_setting.on = on;
        showState();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(m_color);
    layout->addStretch(1);
    showSetting();
}

void ColorSwitch::showSetting() {
    box->setChecked(m_setting.on);
    m_color->showSetting();
    showState();
}

void ColorSwitch::showState() {
    swatch->setVisible(m_setting.on);
    chooser->setEnabled(m_setting.on);
}

} // namespace vellumar
