#include "settings_step.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "folders_page.h"
#include "model/gallery_settings.h"
#include "step_machine.h"

namespace vellumar {

SettingsStep::SettingsStep(GallerySettings& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent) {
    SettingPage = new QTabWidget(this);
    TabFolder = new FoldersPage(settings, dialogs, SettingPage);
    SettingPage->addTab(TabFolder, QString::fromUtf8(kSettingsPageCaptions[0].data()));
    for (std::size_t page = 1; page < kSettingsPageCaptions.size(); ++page) {
        SettingPage->addTab(new QWidget(SettingPage),
                            QString::fromUtf8(kSettingsPageCaptions[page].data()));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SettingPage);
}

void SettingsStep::showSettings() {
    TabFolder->showSettings();
}

} // namespace vellumar
