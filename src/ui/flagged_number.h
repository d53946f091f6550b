#pragma once

#include <QWidget>

#include "model/gallery_settings.h"
#include "model/settings_rules.h"

class QCheckBox;

namespace vellumar {

class Frontend;
class NumberField;

// A size that is used only while its box is ticked ("Width", "Height"). Which box may be
// unticked is the page's rule, so the page handles flagToggled.
class FlaggedNumber : public QObject {
    Q_OBJECT
public:
    FlaggedNumber(const QString& caption, Switched<std::string>& setting, SteppedInteger stepping,
                  CheckedInteger check, Frontend& frontend, QWidget* parent);

    // Shows the flag without running the page's rule on it.
    void showSetting();

    QCheckBox* flag = nullptr;
    NumberField* number = nullptr;

signals:
    void flagToggled(bool on);

private:
    Switched<std::string>& m_setting;
};

} // namespace vellumar
