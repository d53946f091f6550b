#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace vellumar {

struct GallerySettings;
class UserDialogs;

// Step 3: the gallery settings on six sub-pages.
class SettingsStep : public QWidget {
    Q_OBJECT
public:
    SettingsStep(GallerySettings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);

    // Shows the settings as they stand, after a project was loaded or a style applied.
    void showSettings();

    QTabWidget* SettingPage = nullptr;
    QLineEdit* edtDestFolder = nullptr;
    QPushButton* btnSelDest = nullptr;

private:
    QWidget* buildFoldersPage();

    GallerySettings& m_settings;
    UserDialogs& m_dialogs;
};

} // namespace vellumar
