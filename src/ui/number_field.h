#pragma once

#include <optional>
#include <string>

#include <QWidget>

#include "model/settings_rules.h"

class QLineEdit;
class QToolButton;

namespace vellumar {

class Frontend;

// A pair of small up and down arrow buttons.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* btnUp = nullptr;
    QToolButton* btnDown = nullptr;

signals:
    // +1 for up, -1 for down.
    void stepped(int direction);
};

// A number setting's text field with its up/down buttons. The text is stored as typed; a
// press steps it by the setting's rule, and a checked field refuses a text that is not an
// integer when the focus leaves it.
class NumberField : public QWidget {
    Q_OBJECT
public:
    NumberField(std::string& setting, SteppedInteger stepping, QWidget* parent = nullptr);
    NumberField(std::string& setting, SteppedInteger stepping, CheckedInteger check,
                Frontend& frontend, QWidget* parent = nullptr);

    void showSetting();
    // Enables or disables the field and its buttons together.
    void setEditable(bool editable);

    QLineEdit* edit = nullptr;
    UpDown* tune = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkText();

    std::string& m_setting;
    SteppedInteger m_stepping;
    std::optional<CheckedInteger> m_check;
    Frontend* m_frontend = nullptr;
};

} // namespace vellumar
