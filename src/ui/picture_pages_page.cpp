#include "picture_pages_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "color_switch.h"
#include "model/enums.h"
#include "navigation_row.h"
#include "page_background_group.h"
#include "picture_path_field.h"
#include "qt_text.h"

namespace vellumar {

PicturePagesPage::PicturePagesPage(const SettingsContext& context, QWidget* parent)
    : QWidget(parent), m_settings(context.settings) {
    cmbThumbLink = new QComboBox(this);
    addItems(cmbThumbLink, kThumbLinkTargetItems);
    connect(cmbThumbLink, &QComboBox::currentIndexChanged, this,
            [this](int target) { m_settings.ThumbLink = static_cast<ThumbLinkTarget>(target); });
    m_navigation = new NavigationRow(m_settings.PageNav, this);
    cmbPageNav = m_navigation->position;
    btnPageNavLink = m_navigation->advanced;

    PageBackground = new PageBackgroundGroup(m_settings.PageBGPic, m_settings.PageBGColor,
                                             context.programFolder, context.dialogs, this);
    edtPageBGPic = PageBackground->picture->edit;
    btnPageBGPic = PageBackground->picture->chooser;
    cbPageBGColor = PageBackground->color->box;
    imgPageBGColor = PageBackground->color->swatch;
    btnPageBGColor = PageBackground->color->chooser;

    cbImageProtect = new QCheckBox(tr("Protect images from copying"), this);
    connect(cbImageProtect, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.ImageProtect = on; });

    auto* links = new QVBoxLayout;
    links->addWidget(new QLabel(tr("Link thumbnails to:"), this));
    links->addWidget(cmbThumbLink);
    links->addWidget(new QLabel(tr("Navigation link position:"), this));
    links->addWidget(m_navigation);
    links->addWidget(cbImageProtect);
    links->addStretch(1);
    auto* background = new QVBoxLayout;
    background->addWidget(PageBackground);
    background->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(links, 1);
    layout->addLayout(background, 1);
    showSettings();
}

void PicturePagesPage::showSettings() {
    // Each control writes back the value it is given, so no signal needs blocking here.
    cmbThumbLink->setCurrentIndex(static_cast<int>(m_settings.ThumbLink));
    m_navigation->showSetting();
    PageBackground->showSettings();
    cbImageProtect->setChecked(m_settings.ImageProtect);
}

} // namespace vellumar
