#include "large_picture_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "color_swatch.h"
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
    lblPicBorderWidth = new QLabel(tr("Width:"), this);
    m_picBorderWidth =
        new NumberField(m_settings.PicBorderWidth, SteppedInteger::PicBorderWidth, this);
    edtPicBorderWidth = m_picBorderWidth->edit;
    PicBorderWidthTune = m_picBorderWidth->tune;
    lblPicBorderColor = new QLabel(tr("Color:"), this);
    imgPicBorderColor = new ColorSwatch(this);
    btnPicBorderColor = new QPushButton(tr("..."), this);
    btnPicBorderColor->setFixedWidth(32);
    connectColorChooser(btnPicBorderColor, imgPicBorderColor, m_settings.PicBorderColor,
                        context.dialogs);

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
    auto* border = new QHBoxLayout;
    border->addWidget(lblPicBorderWidth);
    border->addWidget(m_picBorderWidth);
    border->addWidget(lblPicBorderColor);
    border->addWidget(imgPicBorderColor);
    border->addWidget(btnPicBorderColor);
    border->addStretch(1);
    sizes->addLayout(border, 2, 1);
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
    m_picBorderWidth->showSetting();
    imgPicBorderColor->setColor(m_settings.PicBorderColor);
    showStates();
}

void LargePicturePage::showStates() {
    const SettingsEditability editable = editabilityOf(m_settings);
    setAllEnabled({cbPicWidth, cbPicHeight, cbPicBorder}, editable.picSizeFlagsAndBorderFlag);
    m_picWidth->setEditable(editable.picWidthValue);
    m_picHeight->setEditable(editable.picHeightValue);
    const bool border = editable.picBorderWidthAndColor;
    setAllEnabled({lblPicBorderWidth, edtPicBorderWidth, PicBorderWidthTune, lblPicBorderColor,
                   btnPicBorderColor},
                  border);
    imgPicBorderColor->setVisible(border);
}

} // namespace vellumar
