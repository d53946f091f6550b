#pragma once

#include <QWidget>

#include "color.h"
#include "model/gallery_settings.h"

class QCheckBox;
class QPushButton;

namespace vellumar {

class ColorChooser;
class ColorSwatch;
class UserDialogs;

// A colour that can be switched off: its box, and the swatch and chooser that are shown and
// enabled only while the box is ticked. The colour stays in the swatch while it is off.
class ColorSwitch : public QWidget {
    Q_OBJECT
public:
    ColorSwitch(const QString& caption, Switched<Color>& setting, UserDialogs& dialogs,
                QWidget* parent = nullptr);

    void showSetting();

    QCheckBox* box = nullptr;
    ColorSwatch* swatch = nullptr;
    QPushButton* chooser = nullptr;

private:
    void showState();

    Switched<Color>& m_setting;
    ColorChooser* m_color = nullptr;
};

} // namespace vellumar
