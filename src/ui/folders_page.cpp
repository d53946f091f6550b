#include "folders_page.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/enums.h"
#include "model/gallery_settings.h"
#include "qt_text.h"
#include "user_dialogs.h"

namespace vellumar {

FolderChoiceGroup::FolderChoiceGroup(const QString& title, FolderChoice& choice, QWidget* parent)
    : QWidget(parent), m_choice(choice) {
    auto* group = new QGroupBox(title, this);
    rbSub = new QRadioButton(tr("Sub folder"), group);
    rbDest = new QRadioButton(tr("Destination folder"), group);
    edtName = new QLineEdit(group);
    connect(rbDest, &QRadioButton::toggled, this, [this](bool destination) {
        m_choice.useDestFolder = destination;
        edtName->setEnabled(!destination);
    });
    connect(edtName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_choice.name = text.toStdString(); });

    auto* row = new QHBoxLayout;
    row->addWidget(rbSub);
    row->addWidget(edtName, 1);
    auto* inner = new QVBoxLayout(group);
    inner->addLayout(row);
    inner->addWidget(rbDest);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(group);
}

void FolderChoiceGroup::showChoice() {
    (m_choice.useDestFolder ? rbDest : rbSub)->setChecked(true);
    edtName->setText(QString::fromStdString(m_choice.name));
    edtName->setEnabled(!m_choice.useDestFolder);
}

FoldersPage::FoldersPage(GallerySettings& settings, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_dialogs(dialogs) {
    edtDestFolder = new QLineEdit(this);
    edtDestFolder->setObjectName(QStringLiteral("edtDestFolder"));
    btnSelDest = new QPushButton(tr("Browse . . ."), this);
    connect(edtDestFolder, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_settings.DestFolder = text.toStdString(); });
    connect(btnSelDest, &QPushButton::clicked, this, [this] {
        if (const auto folder = m_dialogs.chooseDestinationFolder()) {
            m_settings.DestFolder = *folder;
            edtDestFolder->setText(QString::fromStdString(*folder));
        }
    });

    ThumbSub = new FolderChoiceGroup(tr("Thumbnail files"), m_settings.ThumbSub, this);
    PicSub = new FolderChoiceGroup(tr("Large picture files"), m_settings.PicSub, this);
    PageSub = new FolderChoiceGroup(tr("Picture HTML page files"), m_settings.PageSub, this);

    auto* overwrite = new QGroupBox(tr("Overwrite files"), this);
    auto* modes = new QButtonGroup(this);
    auto* overwriteLayout = new QVBoxLayout(overwrite);
    QRadioButton** buttons[] = {&rbAsk, &rbAddOnly, &rbOverwrite};
    for (int mode = 0; mode < 3; ++mode) {
        const std::string_view item = kOverwriteModeItems[static_cast<std::size_t>(mode)];
        *buttons[mode] = new QRadioButton(fromView(item), overwrite);
        modes->addButton(*buttons[mode], mode);
        overwriteLayout->addWidget(*buttons[mode]);
    }
    connect(modes, &QButtonGroup::idToggled, this, [this](int mode, bool checked) {
        if (checked) {
            m_settings.Overwrite = static_cast<OverwriteMode>(mode);
        }
    });

    auto* destination = new QHBoxLayout;
    destination->addWidget(edtDestFolder, 1);
    destination->addWidget(btnSelDest);
    auto* folders = new QGridLayout;
    folders->addWidget(ThumbSub, 0, 0);
    folders->addWidget(PicSub, 0, 1);
    folders->addWidget(PageSub, 1, 0);
    folders->addWidget(overwrite, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Destination folder:"), this));
    layout->addLayout(destination);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(tr("Advanced folder settings:"), this));
    layout->addLayout(folders);
    layout->addStretch(1);
    showSettings();
}

void FoldersPage::showSettings() {
    edtDestFolder->setText(QString::fromStdString(m_settings.DestFolder));
    ThumbSub->showChoice();
    PicSub->showChoice();
    PageSub->showChoice();
    QRadioButton* modes[] = {rbAsk, rbAddOnly, rbOverwrite};
    modes[static_cast<int>(m_settings.Overwrite)]->setChecked(true);
}

} // namespace vellumar
