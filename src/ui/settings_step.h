#pragma once

#include <QWidget>

class QTabWidget;

namespace vellumar {

class FoldersPage;
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
    FoldersPage* TabFolder = nullptr;
};

} // namespace vellumar
