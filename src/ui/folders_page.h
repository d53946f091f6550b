#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vellumar {

struct FolderChoice;
struct GallerySettings;
class UserDialogs;

// One "Sub folder" / "Destination folder" choice with the sub-folder's name, which can be
// edited only while "Sub folder" is chosen and keeps its text otherwise.
class FolderChoiceGroup : public QWidget {
    Q_OBJECT
public:
    FolderChoiceGroup(const QString& title, FolderChoice& choice, QWidget* parent);
    void showChoice();

    QRadioButton* rbSub = nullptr;
    QRadioButton* rbDest = nullptr;
    QLineEdit* edtName = nullptr;

private:
    FolderChoice& m_choice;
};

// The Folders sub-page: the destination, the three output-folder choices and what a build
// does with files that are already there.
class FoldersPage : public QWidget {
    Q_OBJECT
public:
    FoldersPage(GallerySettings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the settings as they stand, after a project was loaded or a style applied.
    void showSettings();

    QLineEdit* edtDestFolder = nullptr;
    QPushButton* btnSelDest = nullptr;
    FolderChoiceGroup* ThumbSub = nullptr;
    FolderChoiceGroup* PicSub = nullptr;
    FolderChoiceGroup* PageSub = nullptr;
    QRadioButton* rbAsk = nullptr;
    QRadioButton* rbAddOnly = nullptr;
    QRadioButton* rbOverwrite = nullptr;

private:
    GallerySettings& m_settings;
    UserDialogs& m_dialogs;
};

} // namespace vellumar
