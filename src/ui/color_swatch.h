#pragma once

#include <QFrame>

#include "color.h"

class QPushButton;

namespace vellumar {

class UserDialogs;

// A small rectangle filled with a colour setting's colour.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    void setColor(Color color);
    Color color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Color m_color = kBlack;
};

// A colour setting's swatch with its chooser button: a colour taken in the shared colour
// dialog becomes the setting and fills the swatch; a cancelled dialog changes nothing.
class ColorChooser : public QWidget {
    Q_OBJECT
public:
    ColorChooser(Color& setting, const QString& caption, UserDialogs& dialogs,
                 QWidget* parent = nullptr);

    void showSetting();

    ColorSwatch* swatch = nullptr;
    QPushButton* button = nullptr;

private:
    Color& m_setting;
};

} // namespace vellumar
