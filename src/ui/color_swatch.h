#pragma once

#include <QFrame>

#include "model/color.h"

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

// Ties a chooser button to a colour setting: a colour taken in the shared colour dialog
// becomes the setting and fills the swatch; a cancelled dialog changes nothing.
void connectColorChooser(QPushButton* chooser, ColorSwatch* swatch, Color& setting,
                         UserDialogs& dialogs);

} // namespace vellumar
