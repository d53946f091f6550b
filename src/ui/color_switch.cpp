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
    swatch = new ColorSwatch(this);
    chooser = new QPushButton(tr("..."), this);
    chooser->setFixedWidth(32);
    connectColorChooser(chooser, swatch, m_setting.value, dialogs);
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        m_setting.on = on;
        showState();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(swatch);
    layout->addWidget(chooser);
    layout->addStretch(1);
    showSetting();
}

void ColorSwitch::showSetting() {
    box->setChecked(m_setting.on);
    swatch->setColor(m_setting.value);
    showState();
}

void ColorSwitch::showState() {
    swatch->setVisible(m_setting.on);
    chooser->setEnabled(m_setting.on);
}

} // namespace vellumar
