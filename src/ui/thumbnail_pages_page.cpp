#include "thumbnail_pages_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "color_swatch.h"
#include "color_switch.h"
#include "navigation_row.h"
#include "number_field.h"
#include "page_background_group.h"
#include "picture_path_field.h"

namespace vellumar {

ThumbnailPagesPage::ThumbnailPagesPage(const SettingsContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.settings) {
    edtIdxFileName = new QLineEdit(this);
    connect(edtIdxFileName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.IdxFileName = text.toStdString(); });
    m_navigation = new NavigationRow(m_settings.IdxNavLink, this);
    cmbIdxNavLink = m_navigation->position;
    btnIdxNavLink = m_navigation->advanced;

    IdxPageBackground = new PageBackgroundGroup(m_settings.IdxPageBGPic, m_settings.IdxPageBGColor,
                                                context.programFolder, context.dialogs, this);
    edtIdxPageBGPic = IdxPageBackground->picture->edit;
    btnIdxPageBGPic = IdxPageBackground->picture->chooser;
    cbIdxPageBGColor = IdxPageBackground->color->box;
    imgIdxPageBGColor = IdxPageBackground->color->swatch;
    btnIdxPageBGColor = IdxPageBackground->color->chooser;

    cbThumbProtect = new QCheckBox(tr("Protect thumbnails from copying"), this);
    connect(cbThumbProtect, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.ThumbProtect = on; });

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("File name ( with extension ):"), this));
    left->addWidget(edtIdxFileName);
    left->addWidget(new QLabel(tr("Navigation link position:"), this));
    left->addWidget(m_navigation);
    left->addWidget(IdxPageBackground);
    left->addWidget(cbThumbProtect);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(buildTableGroup(context), 1);
    showSettings();
}

QWidget* ThumbnailPagesPage::buildTableGroup(const SettingsContext& context) {
    auto* group = new QGroupBox(tr("Thumbnails table"), this);
    auto* layout = new QGridLayout(group);
    struct TableNumber {
        const char* caption;
        std::string& setting;
        SteppedInteger stepping;
        QLineEdit*& field;
        UpDown*& spin;
    };
    const TableNumber numbers[] = {
        {"Columns:", m_settings.ThumbTableCol, SteppedInteger::ThumbTableCol, edtThumbTableCol,
         ThumbTableColTune},
        {"Rows:", m_settings.ThumbTableRow, SteppedInteger::ThumbTableRow, edtThumbTableRow,
         ThumbTableRowTune},
        {"Cell padding:", m_settings.ThumbTableCellPad, SteppedInteger::ThumbTableCellPad,
         edtThumbTableCellPad, ThumbTableCellPadTune},
        {"Cell spacing:", m_settings.ThumbTableCellSpace, SteppedInteger::ThumbTableCellSpace,
         edtThumbTableCellSpace, ThumbTableCellSpaceTune},
        {"Border Width:", m_settings.ThumbTableBorderWidth, SteppedInteger::ThumbTableBorderWidth,
         edtThumbTableBorderWidth, ThumbTableBorderWidthTune},
    };
    int row = 0;
    for (const TableNumber& number : numbers) {
        auto* field = new NumberField(number.setting, number.stepping, group);
        number.field = field->edit;
        number.spin = field->tune;
        m_tableNumbers.push_back(field);
        layout->addWidget(new QLabel(tr(number.caption), group), row, 0);
        layout->addWidget(field, row++, 1);
    }

    m_tableBorderColor =
        new ColorChooser(m_settings.ThumbTableBorderColor, tr("..."), context.dialogs, group);
    imgThumbTableBorderColor = m_tableBorderColor->swatch;
    btnThumbTableBorderColor = m_tableBorderColor->button;
    layout->addWidget(new QLabel(tr("Border color:"), group), row, 0);
    layout->addWidget(m_tableBorderColor, row++, 1, Qt::AlignLeft);

    m_tableBGPic = new PicturePathField(m_settings.ThumbTableBGPic, context.programFolder,
                                        context.dialogs, group);
    edtThumbTableBGPic = m_tableBGPic->edit;
    btnThumbTableBGPic = m_tableBGPic->chooser;
    layout->addWidget(new QLabel(tr("Background picture:"), group), row++, 0, 1, 2);
    layout->addWidget(m_tableBGPic, row++, 0, 1, 2);

    m_tableBGColor = new ColorSwitch(tr("Background color:"), m_settings.ThumbTableBGColor,
                                     context.dialogs, group);
    cbThumbTableBGColor = m_tableBGColor->box;
    imgThumbTableBGColor = m_tableBGColor->swatch;
    btnThumbTableBGColor = m_tableBGColor->chooser;
    layout->addWidget(m_tableBGColor, row++, 0, 1, 2);
    layout->setRowStretch(row, 1);
    return group;
}

void ThumbnailPagesPage::showSettings() {
    // Each control writes back the value it is given, so no signal needs blocking here.
    edtIdxFileName->setText(QString::fromStdString(m_settings.IdxFileName));
    m_navigation->showSetting();
    IdxPageBackground->showSettings();
    for (NumberField* number : m_tableNumbers) {
        number->showSetting();
    }
    m_tableBorderColor->showSetting();
    m_tableBGPic->showSetting();
    m_tableBGColor->showSetting();
    cbThumbProtect->setChecked(m_settings.ThumbProtect);
}

} // namespace vellumar
