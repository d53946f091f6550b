#include "navigation_row.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>

#include "qt_text.h"

namespace vellumar {

NavigationRow::NavigationRow(NavPosition& setting, QWidget* parent)
    : QWidget(parent), m_setting(setting) {
    position = new QComboBox(this);
    addItems(position, kNavPositionItems);
    connect(position, &QComboBox::currentIndexChanged, this,
            [this](int chosen) { m_setting = static_cast<NavPosition>(chosen); });
    advanced = new QPushButton(tr("Advanced"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(position);
    layout->addWidget(advanced);
    layout->addStretch(1);
    showSetting();
}

void NavigationRow::showSetting() {
    position->setCurrentIndex(static_cast<int>(m_setting));
}

} // namespace vellumar
