#include "settings_step.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/gallery_settings.h"
#include "step_machine.h"
#include "user_dialogs.h"

namespace vellumar {

SettingsStep::SettingsStep(GallerySettings& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_dialogs(dialogs) {
    SettingPage = new QTabWidget(this);
    SettingPage->addTab(buildFoldersPage(), QString::fromUtf8(kSettingsPageCaptions[0].data()));
    for (std::size_t page = 1; page < kSettingsPageCaptions.size(); ++page) {
        SettingPage->addTab(new QWidget(SettingPage),
                            QString::fromUtf8(kSettingsPageCaptions[page].data()));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SettingPage);
    showSettings();
}

QWidget* SettingsStep::buildFoldersPage() {
    auto* page = new QWidget(SettingPage);
    edtDestFolder = new QLineEdit(page);
    edtDestFolder->setObjectName(QStringLiteral("edtDestFolder"));
    btnSelDest = new QPushButton(tr("Browse . . ."), page);
    connect(edtDestFolder, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.DestFolder = text.toStdString(); });
    connect(btnSelDest, &QPushButton::clicked, this, [this] {
        if (const auto folder = m_dialogs.chooseDestinationFolder()) {
            m_settings.DestFolder = *folder;
            edtDestFolder->setText(QString::fromStdString(*folder));
        }
    });

    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel(tr("Destination folder:"), page), 0, 0);
    layout->addWidget(edtDestFolder, 0, 1);
    layout->addWidget(btnSelDest, 0, 2);
    layout->setRowStretch(1, 1);
    return page;
}

void SettingsStep::showSettings() {
    edtDestFolder->setText(QString::fromStdString(m_settings.DestFolder));
}

} // namespace vellumar
