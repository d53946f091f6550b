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
    : QWidget(parent), width(width) {
    width->setParent(this);
    lblWidth = new QLabel(tr("Width:"), this);
    lblColor = new QLabel(tr("Color:"), this);
    m_color = new ColorChooser(color, chooserCaption, dialogs, this);
    swatch = m_color->swatch;
    chooser = m_color->button;

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblWidth);
    layout->addWidget(width);
    layout->addWidget(lblColor);
    layout->addWidget(m_color);
    layout->addStretch(1);
    showSettings();
}

void BorderRow::showSettings() {
    width->showSetting();
    m_color->showSetting();
}

void BorderRow::setEditable(bool editable) {
    setAllEnabled({lblWidth, lblColor, chooser}, editable);
    width->setEditable(editable);
    swatch->setVisible(editable);
}

} // namespace vellumar
