#include "border_row.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "color_swatch.h"
#include "number_field.h"
#include "widget_states.h"

namespace vellumar {

BorderRow::BorderRow(NumberField* width, Color& color, const QString& chooserCaption,
                     UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), width(width), m_color(color) {
    width->setParent(this);
    lblWidth = new QLabel(tr("Width:"), this);
    lblColor = new QLabel(tr("Color:"), this);
    swatch = new ColorSwatch(this);
    chooser = new QPushButton(chooserCaption, this);
    chooser->setFixedWidth(32);
    connectColorChooser(chooser, swatch, m_color, dialogs);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblWidth);
    layout->addWidget(width);
    layout->addWidget(lblColor);
    layout->addWidget(swatch);
    layout->addWidget(chooser);
    layout->addStretch(1);
    showSettings();
}

void BorderRow::showSettings() {
    width->showSetting();
    swatch->setColor(m_color);
}

void BorderRow::setEditable(bool editable) {
    setAllEnabled({lblWidth, lblColor, chooser}, editable);
    width->setEditable(editable);
    swatch->setVisible(editable);
}

} // namespace vellumar
