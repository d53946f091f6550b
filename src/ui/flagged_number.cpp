#include "flagged_number.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "number_field.h"

namespace vellumar {

FlaggedNumber::FlaggedNumber(const QString& caption, Switched<std::string>& setting,
                             SteppedInteger stepping, CheckedInteger check, Frontend& frontend,
                             QWidget* parent)
    : QObject(parent), m_setting(setting) {
    flag = new QCheckBox(caption, parent);
    number = new NumberField(setting.value, stepping, check, frontend, parent);
    connect(flag, &QCheckBox::toggled, this, &FlaggedNumber::flagToggled);
}

void FlaggedNumber::showSetting() {
    const QSignalBlocker blocker(flag);
    flag->setChecked(m_setting.on);
    number->showSetting();
}

} // namespace vellumar
