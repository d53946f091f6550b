#include "style_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

#include "bitmap_image.h"
#include "border_row.h"
#include "flagged_number.h"
#include "frontend.h"
#include "model/settings_rules.h"
#include "model/style_list.h"
#include "number_field.h"
#include "project_error.h"
#include "readers/reader_table.h"
#include "user_dialogs.h"

namespace vellumar {

namespace {

const QSize kSampleBox(200, 150);

} // namespace

StylePage::StylePage(const SettingsContext& context, const std::vector<std::string>& styles,
                     QWidget* parent)
    : QWidget(parent), m_context(context), m_settings(context.settings) {
    auto* options = new QVBoxLayout;
    options->addWidget(buildSizeGroup());
    options->addWidget(buildFileNameGroup());
    options->addWidget(buildBorderGroup());
    options->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildStyleColumn());
    layout->addLayout(options, 1);

    for (const std::string& style : styles) {
        cmbStyle->addItem(QString::fromStdString(style));
    }
    // Only a choice the user makes applies a style; selecting a loaded project's style
    // must not.
    connect(cmbStyle, &QComboBox::activated, this,
            [this](int index) { applyStyle(cmbStyle->itemText(index).toStdString()); });
    showSettings();
}

QWidget* StylePage::buildStyleColumn() {
    auto* column = new QWidget(this);
    cmbStyle = new QComboBox(column);
    imgStylePreview = new QLabel(column);
    imgStylePreview->setFixedSize(kSampleBox);
    imgStylePreview->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Style:"), column));
    layout->addWidget(cmbStyle);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("Style Preview"), column));
    layout->addWidget(imgStylePreview);
    layout->addStretch(1);
    return column;
}

QGroupBox* StylePage::buildSizeGroup() {
    auto* group = new QGroupBox(tr("Thumbnail size"), this);
    m_thumbWidth = new FlaggedNumber(tr("Width"), m_settings.ThumbWidth, SteppedInteger::ThumbWidth,
                                     CheckedInteger::ThumbWidth, m_context.frontend, group);
    cbThumbWidth = m_thumbWidth->flag;
    edtThumbWidth = m_thumbWidth->number->edit;
    ThumbWidthTune = m_thumbWidth->number->tune;
    m_thumbHeight =
        new FlaggedNumber(tr("Height"), m_settings.ThumbHeight, SteppedInteger::ThumbHeight,
                          CheckedInteger::ThumbHeight, m_context.frontend, group);
    cbThumbHeight = m_thumbHeight->flag;
    edtThumbHeight = m_thumbHeight->number->edit;
    ThumbHeightTune = m_thumbHeight->number->tune;
    rbThumbStretch = new QRadioButton(tr("Stretch picture to fit size"), group);
    rbThumbCrop = new QRadioButton(tr("Crop picture to fit size"), group);
    auto* fits = new QButtonGroup(group);
    fits->addButton(rbThumbStretch, static_cast<int>(ThumbFit::Stretch));
    fits->addButton(rbThumbCrop, static_cast<int>(ThumbFit::Crop));
    // Large pictures are scaled the same way, but thumbnails are where picking single pixels
    // shows most.
    cbSmoothScaling = new QCheckBox(tr("Smooth scaling"), group);
    connect(cbSmoothScaling, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.SmoothScaling = on; });
    cbAutoRotate = new QCheckBox(tr("Turn pictures as the camera held them"), group);
    connect(cbAutoRotate, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.AutoRotate = on; });
    cbHiDpiThumbs = new QCheckBox(tr("Double-size thumbnails for sharp screens"), group);
    connect(cbHiDpiThumbs, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.HiDpiThumbs = on; });
    auto* formatsLabel = new QLabel(tr("Also as"), group);
    cboModernFormats = new QComboBox(group);
    cboModernFormats->addItems({tr("JPEG only"), tr("WebP"), tr("AVIF"), tr("WebP and AVIF")});
    cboModernFormats->setToolTip(
        tr("Thumbnails and the smaller copies of large pictures are also written in these "
           "formats, which are a third to a half smaller; browsers that cannot show them take "
           "the JPEG. AVIF takes longest to write."));
    formatsLabel->setBuddy(cboModernFormats);
    connect(cboModernFormats, &QComboBox::activated, this, [this](int item) {
        m_settings.ModernFormats = static_cast<ModernFormatChoice>(item);
    });

    connect(m_thumbWidth, &FlaggedNumber::flagToggled, this, [this](bool on) {
        setThumbWidthFlag(m_settings, on);
        showSettings();
    });
    connect(m_thumbHeight, &FlaggedNumber::flagToggled, this, [this](bool on) {
        setThumbHeightFlag(m_settings, on);
        showSettings();
    });
    connect(fits, &QButtonGroup::idToggled, this, [this](int fit, bool checked) {
        if (checked) {
            setThumbFit(m_settings, static_cast<ThumbFit>(fit));
            showSettings();
        }
    });

    auto* layout = new QGridLayout(group);
    layout->addWidget(cbThumbWidth, 0, 0);
    layout->addWidget(m_thumbWidth->number, 0, 1);
    layout->addWidget(cbThumbHeight, 1, 0);
    layout->addWidget(m_thumbHeight->number, 1, 1);
    layout->addWidget(rbThumbStretch, 0, 2);
    layout->addWidget(rbThumbCrop, 1, 2);
    layout->addWidget(cbSmoothScaling, 2, 2);
    layout->addWidget(cbAutoRotate, 3, 2);
    layout->addWidget(cbHiDpiThumbs, 4, 2);
    auto* formats = new QHBoxLayout;
    formats->addWidget(formatsLabel);
    formats->addWidget(cboModernFormats);
    formats->addStretch(1);
    layout->addLayout(formats, 5, 2);
    layout->setColumnStretch(3, 1);
    return group;
}

QGroupBox* StylePage::buildFileNameGroup() {
    auto* group = new QGroupBox(tr("Thumbnail file name"), this);
    edtThumbPrefix = new QLineEdit(group);
    edtThumbSuffix = new QLineEdit(group);
    btnRenameSoft = new QPushButton(tr("Virovudo Ziduva"), group);
    connect(edtThumbPrefix, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.ThumbPrefix = text.toStdString(); });
    connect(edtThumbSuffix, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.ThumbSuffix = text.toStdString(); });
    connect(btnRenameSoft, &QPushButton::clicked, this, [this] {
        QUrl manual = QUrl::fromLocalFile(QString::fromStdString(m_context.programFolder) +
                                          QStringLiteral("Help.html"));
        manual.setFragment(QStringLiteral("file-names"));
        m_context.dialogs.openExternally(manual.toString().toStdString());
    });

    auto* layout = new QGridLayout(group);
    layout->addWidget(new QLabel(tr("Prefix:"), group), 0, 0);
    layout->addWidget(new QLabel(tr("Suffix:"), group), 0, 1);
    layout->addWidget(edtThumbPrefix, 1, 0);
    layout->addWidget(edtThumbSuffix, 1, 1);
    layout->addWidget(btnRenameSoft, 1, 2);
    return group;
}

QGroupBox* StylePage::buildBorderGroup() {
    gbThumbBorder = new QGroupBox(this);
    cbThumbBorder = new QCheckBox(tr("Thumbnail border"), gbThumbBorder);
    m_border =
        new BorderRow(new NumberField(m_settings.ThumbBorderWidth, SteppedInteger::ThumbBorderWidth,
                                      CheckedInteger::ThumbBorderWidth, m_context.frontend),
                      m_settings.ThumbBorderColor, tr(". . ."), m_context.dialogs, gbThumbBorder);
    lblThumbBorderWidth = m_border->lblWidth;
    edtThumbBorderWidth = m_border->width->edit;
    ThumbBorderTune = m_border->width->tune;
    lblThumbBorderColor = m_border->lblColor;
    imgThumbBorderColor = m_border->swatch;
    btnBorderColor = m_border->chooser;
    connect(cbThumbBorder, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.ThumbBorder = on;
        showStates();
    });

    auto* layout = new QHBoxLayout(gbThumbBorder);
    layout->addWidget(cbThumbBorder);
    layout->addSpacing(12);
    layout->addWidget(m_border);
    layout->addStretch(1);
    return gbThumbBorder;
}

void StylePage::applyStyle(const std::string& style) {
    cmbStyle->setCurrentText(QString::fromStdString(style));
    m_settings.Style = style;
    try {
        const std::vector<std::string> lines = loadTemplate(m_context.programFolder, style);
        showSample(style);
        applyStyleDefaults(style, lines, m_context.programFolder, m_settings, m_context.linkImages);
    } catch (const ProjectError& error) {
        m_context.frontend.notice(error.what());
    }
    emit styleApplied();
}

void StylePage::showSample(const std::string& style) {
    m_sampleStyle = style;
    const std::optional<Bitmap> sample =
        loadStyleSample(m_context.programFolder, style, pictureFormats());
    if (!sample) {
        imgStylePreview->hide();
        return;
    }
    imgStylePreview->setPixmap(pixmapFilling(toQImage(*sample),
                                             imgStylePreview->contentsRect().size(),
                                             imgStylePreview->devicePixelRatioF()));
    imgStylePreview->show();
}

void StylePage::showSettings() {
    cmbStyle->setCurrentIndex(cmbStyle->findText(QString::fromStdString(m_settings.Style)));
    // A loaded project's style shows its sample without its defaults being applied.
    if (m_settings.Style != m_sampleStyle) {
        try {
            showSample(m_settings.Style);
        } catch (const ProjectError& error) {
            m_context.frontend.notice(error.what());
        }
    }
    m_thumbWidth->showSetting();
    m_thumbHeight->showSetting();
    {
        // The fit shows what is held without running its rule on it.
        const QSignalBlocker blockStretch(rbThumbStretch);
        const QSignalBlocker blockCrop(rbThumbCrop);
        (m_settings.ThumbStretch == ThumbFit::Crop ? rbThumbCrop : rbThumbStretch)
            ->setChecked(true);
    }
    cbSmoothScaling->setChecked(m_settings.SmoothScaling);
    cbAutoRotate->setChecked(m_settings.AutoRotate);
    cbHiDpiThumbs->setChecked(m_settings.HiDpiThumbs);
    cboModernFormats->setCurrentIndex(static_cast<int>(m_settings.ModernFormats));
    edtThumbPrefix->setText(QString::fromStdString(m_settings.ThumbPrefix));
    edtThumbSuffix->setText(QString::fromStdString(m_settings.ThumbSuffix));
    cbThumbBorder->setChecked(m_settings.ThumbBorder);
    m_border->showSettings();
    showStates();
}

void StylePage::showStates() {
    const SettingsEditability editable = editabilityOf(m_settings);
    m_thumbWidth->number->setEditable(editable.thumbWidthValue);
    m_thumbHeight->number->setEditable(editable.thumbHeightValue);
    m_border->setEditable(editable.thumbBorderWidthAndColor);
}

} // namespace vellumar
