#include "large_picture_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "border_row.h"
#include "model/settings_rules.h"
#include "number_field.h"
#include "widget_states.h"

namespace vellumar {

LargePicturePage::LargePicturePage(const SettingsContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.settings) {
    cbResizePic = new QCheckBox(tr("Resize original pictures"), this);
    cbPicWidth = new QCheckBox(tr("Width"), this);
    m_picWidth = new NumberField(m_settings.PicWidth.value, SteppedInteger::PicWidth,
                                 CheckedInteger::PicWidth, context.frontend, this);
    edtPicWidth = m_picWidth->edit;
    PicWidthTune = m_picWidth->tune;
    cbPicHeight = new QCheckBox(tr("Height"), this);
    m_picHeight = new NumberField(m_settings.PicHeight.value, SteppedInteger::PicHeight,
                                  CheckedInteger::PicHeight, context.frontend, this);
    edtPicHeight = m_picHeight->edit;
    PicHeightTune = m_picHeight->tune;
    cbPicBorder = new QCheckBox(tr("Border"), this);
    m_border =
        new BorderRow(new NumberField(m_settings.PicBorderWidth, SteppedInteger::PicBorderWidth),
                      m_settings.PicBorderColor, tr("..."), context.dialogs, this);
    lblPicBorderWidth = m_border->lblWidth;
    edtPicBorderWidth = m_border->width->edit;
    PicBorderWidthTune = m_border->width->tune;
    lblPicBorderColor = m_border->lblColor;
    imgPicBorderColor = m_border->swatch;
    btnPicBorderColor = m_border->chooser;

    connect(cbResizePic, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.ResizePic = on;
        showStates();
    });
    connect(cbPicWidth, &QCheckBox::toggled, this, [this](bool on) {
        setPicWidthFlag(m_settings, on);
        showSettings();
    });
    connect(cbPicHeight, &QCheckBox::toggled, this, [this](bool on) {
        setPicHeightFlag(m_settings, on);
        showSettings();
    });
    connect(cbPicBorder, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.PicBorder = on;
        showStates();
    });

    auto* sizes = new QGridLayout;
    sizes->setContentsMargins(24, 0, 0, 0);
    sizes->addWidget(cbPicWidth, 0, 0);
    sizes->addWidget(m_picWidth, 0, 1);
    sizes->addWidget(cbPicHeight, 1, 0);
    sizes->addWidget(m_picHeight, 1, 1);
    sizes->addWidget(cbPicBorder, 2, 0);
    sizes->addWidget(m_border, 2, 1);
    sizes->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbResizePic);
    layout->addLayout(sizes);
    layout->addStretch(1);
    showSettings();
}

void LargePicturePage::showSettings() {
    // The size flags show what is held without running their rules on it.
    const QSignalBlocker blockWidth(cbPicWidth);
    const QSignalBlocker blockHeight(cbPicHeight);
    cbResizePic->setChecked(m_settings.ResizePic);
    cbPicWidth->setChecked(m_settings.PicWidth.on);
    cbPicHeight->setChecked(m_settings.PicHeight.on);
    cbPicBorder->setChecked(m_settings.PicBorder);
    m_picWidth->showSetting();
    m_picHeight->showSetting();
    m_border->showSettings();
    showStates();
}

void LargePicturePage::showStates() {
    const SettingsEditability editable = editabilityOf(m_settings);
    setAllEnabled({cbPicWidth, cbPicHeight, cbPicBorder}, editable.picSizeFlagsAndBorderFlag);
    m_picWidth->setEditable(editable.picWidthValue);
    m_picHeight->setEditable(editable.picHeightValue);
    m_border->setEditable(editable.picBorderWidthAndColor);
}

} // namespace vellumar
