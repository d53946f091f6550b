#include "large_picture_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "border_row.h"
#include "flagged_number.h"
#include "frontend.h"
#include "model/responsive_widths.h"
#include "model/settings_rules.h"
#include "project_error.h"
#include "number_field.h"
#include "widget_states.h"

namespace vellumar {

LargePicturePage::LargePicturePage(const SettingsContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.settings) {
    cbResizePic = new QCheckBox(tr("Resize original pictures"), this);
    m_picWidth = new FlaggedNumber(tr("Width"), m_settings.PicWidth, SteppedInteger::PicWidth,
                                   CheckedInteger::PicWidth, context.frontend, this);
    cbPicWidth = m_picWidth->flag;
    edtPicWidth = m_picWidth->number->edit;
    PicWidthTune = m_picWidth->number->tune;
    m_picHeight = new FlaggedNumber(tr("Height"), m_settings.PicHeight, SteppedInteger::PicHeight,
                                    CheckedInteger::PicHeight, context.frontend, this);
    cbPicHeight = m_picHeight->flag;
    edtPicHeight = m_picHeight->number->edit;
    PicHeightTune = m_picHeight->number->tune;
    cbPicKeepRatio = new QCheckBox(tr("Keep the picture's proportions"), this);
    cbPicKeepRatio->setToolTip(
        tr("With both width and height set, each picture is scaled to fit inside them instead "
           "of being stretched to exactly that size."));
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

    cbWideGamut =
        new QCheckBox(tr("Keep wide-gamut colours (Display P3) for screens that show them"), this);
    connect(cbWideGamut, &QCheckBox::toggled, this, [this](bool on) { m_settings.WideGamut = on; });

    cbKeepOriginalJpeg =
        new QCheckBox(tr("Publish JPEGs kept at their own size as they are, without metadata"), this);
    cbKeepOriginalJpeg->setToolTip(
        tr("A JPEG that is neither resized nor given a border is not encoded again: the large "
           "picture is the photo's own data, turned without loss where needed, with its EXIF, "
           "XMP and comments left out. Faster, and no second generation of JPEG loss."));
    connect(cbKeepOriginalJpeg, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.KeepOriginalJpeg = on; });
    auto* widthsLabel = new QLabel(tr("Smaller copies for narrower screens, widths:"), this);
    edtResponsiveWidths = new QLineEdit(this);
    edtResponsiveWidths->setPlaceholderText(tr("none"));
    edtResponsiveWidths->setToolTip(
        tr("Widths in pixels, such as 640 1280 1920. Each large picture also gets a copy at "
           "every width narrower than itself, and a browser loads the one the screen needs."));
    widthsLabel->setBuddy(edtResponsiveWidths);
    connect(edtResponsiveWidths, &QLineEdit::editingFinished, this, [this, &frontend = context.frontend] {
        try {
            m_settings.ResponsiveWidths =
                parseResponsiveWidths(edtResponsiveWidths->text().toStdString());
        } catch (const ProjectError& error) {
            frontend.notice(error.what());
        }
        showResponsiveWidths();
    });

    connect(cbResizePic, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.ResizePic = on;
        showStates();
    });
    connect(m_picWidth, &FlaggedNumber::flagToggled, this, [this](bool on) {
        setPicWidthFlag(m_settings, on);
        showSettings();
    });
    connect(m_picHeight, &FlaggedNumber::flagToggled, this, [this](bool on) {
        setPicHeightFlag(m_settings, on);
        showSettings();
    });
    connect(cbPicKeepRatio, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.PicKeepRatio = on; });
    connect(cbPicBorder, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.PicBorder = on;
        showStates();
    });

    auto* sizes = new QGridLayout;
    sizes->setContentsMargins(24, 0, 0, 0);
    sizes->addWidget(cbPicWidth, 0, 0);
    sizes->addWidget(m_picWidth->number, 0, 1);
    sizes->addWidget(cbPicHeight, 1, 0);
    sizes->addWidget(m_picHeight->number, 1, 1);
    sizes->addWidget(cbPicKeepRatio, 2, 0, 1, 3);
    sizes->addWidget(cbPicBorder, 3, 0);
    sizes->addWidget(m_border, 3, 1);
    sizes->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbResizePic);
    layout->addLayout(sizes);
    layout->addWidget(cbWideGamut);
    layout->addWidget(cbKeepOriginalJpeg);
    auto* widths = new QHBoxLayout;
    widths->addWidget(widthsLabel);
    widths->addWidget(edtResponsiveWidths, 1);
    layout->addLayout(widths);
    layout->addStretch(1);
    showSettings();
}

void LargePicturePage::showSettings() {
    cbResizePic->setChecked(m_settings.ResizePic);
    cbPicKeepRatio->setChecked(m_settings.PicKeepRatio);
    cbPicBorder->setChecked(m_settings.PicBorder);
    cbWideGamut->setChecked(m_settings.WideGamut);
    cbKeepOriginalJpeg->setChecked(m_settings.KeepOriginalJpeg);
    showResponsiveWidths();
    m_picWidth->showSetting();
    m_picHeight->showSetting();
    m_border->showSettings();
    showStates();
}

void LargePicturePage::showStates() {
    const SettingsEditability editable = editabilityOf(m_settings);
    setAllEnabled({cbPicWidth, cbPicHeight, cbPicBorder}, editable.picSizeFlagsAndBorderFlag);
    // Only a box of both sides can stretch a picture out of its proportions.
    cbPicKeepRatio->setEnabled(editable.picSizeFlagsAndBorderFlag && m_settings.PicWidth.on &&
                               m_settings.PicHeight.on);
    // Only pictures kept at their own size can be published as they are.
    cbKeepOriginalJpeg->setEnabled(!m_settings.ResizePic);
    m_picWidth->number->setEditable(editable.picWidthValue);
    m_picHeight->number->setEditable(editable.picHeightValue);
    m_border->setEditable(editable.picBorderWidthAndColor);
}

void LargePicturePage::showResponsiveWidths() {
    edtResponsiveWidths->setText(
        QString::fromStdString(responsiveWidthsText(m_settings.ResponsiveWidths)));
}

} // namespace vellumar
