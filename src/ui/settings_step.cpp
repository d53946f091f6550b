#include "settings_step.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "folders_page.h"
#include "large_picture_page.h"
#include "nav_link_dialog.h"
#include "picture_pages_page.h"
#include "qt_text.h"
#include "scroll_page.h"
#include "step_machine.h"
#include "style_page.h"
#include "text_page.h"
#include "thumbnail_pages_page.h"

namespace vellumar {

SettingsStep::SettingsStep(const SettingsContext& context, const std::vector<std::string>& styles,
                           QWidget* parent)
    : QWidget(parent), m_context(context) {
    SettingPage = new QTabWidget(this);
    TabFolder = new FoldersPage(context.settings, context.dialogs, SettingPage);
    TabStyle = new StylePage(context, styles, SettingPage);
    TabLargePic = new LargePicturePage(context, SettingPage);
    TabThumbTable = new ThumbnailPagesPage(context, SettingPage);
    TabPicPage = new PicturePagesPage(context, SettingPage);
    TabText = new TextPage(context, SettingPage);
    QWidget* pages[] = {TabFolder, TabStyle, TabLargePic, TabThumbTable, TabPicPage, TabText};
    for (std::size_t page = 0; page < kSettingsPageCaptions.size(); ++page) {
        SettingPage->addTab(scrollable(pages[page]), fromView(kSettingsPageCaptions[page]));
    }
    connect(TabStyle, &StylePage::styleApplied, this, &SettingsStep::showSettings);
    frmNavLinkOpt =
        new TfrmNavLinkOpt(context.programFolder, context.frontend, context.dialogs, this);
    connect(TabThumbTable->btnIdxNavLink, &QPushButton::clicked, this,
            &SettingsStep::btnIdxNavLinkClick);
    connect(TabPicPage->btnPageNavLink, &QPushButton::clicked, this,
            &SettingsStep::btnPageNavLinkClick);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SettingPage);
}

void SettingsStep::showSettings() {
    TabFolder->showSettings();
    TabStyle->showSettings();
    TabLargePic->showSettings();
    TabThumbTable->showSettings();
    TabPicPage->showSettings();
    TabText->showSettings();
}

void SettingsStep::setLocked(bool locked) {
    for (int page = 0; page < SettingPage->count(); ++page) {
        SettingPage->widget(page)->setEnabled(!locked);
    }
}

void SettingsStep::btnIdxNavLinkClick() {
    frmNavLinkOpt->editLinks(m_context.settings.IdxNav, NavLinkSetKind::Index,
                             m_context.linkImages);
}

void SettingsStep::btnPageNavLinkClick() {
    frmNavLinkOpt->editLinks(m_context.settings.PageNavLinks, NavLinkSetKind::Page,
                             m_context.linkImages);
}

} // namespace vellumar
