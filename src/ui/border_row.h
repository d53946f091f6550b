#pragma once

#include <QWidget>

#include "color.h"

class QLabel;
class QPushButton;

namespace vellumar {

class ColorChooser;
class ColorSwatch;
class NumberField;
class UserDialogs;

// The width and colour of a border, which can be edited only while its border is on; the
// swatch is hidden while it is off.
class BorderRow : public QWidget {
    Q_OBJECT
public:
    // The row takes the width field into its layout.
    BorderRow(NumberField* width, Color& color, const QString& chooserCaption, UserDialogs& dialogs,
              QWidget* parent = nullptr);

    void showSettings();
    void setEditable(bool editable);

    QLabel* lblWidth = nullptr;
    NumberField* width = nullptr;
    QLabel* lblColor = nullptr;
    ColorSwatch* swatch = nullptr;
    QPushButton* chooser = nullptr;

private:
    ColorChooser* m_color = nullptr;
};

} // namespace vellumar
