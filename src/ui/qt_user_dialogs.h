#pragma once

#include <QString>

#include "user_dialogs.h"

class QWidget;

namespace vellumar {

class TfrmAddDir;
class TfrmSelDestDir;

// The real choosers: Qt file dialogs and the two folder dialogs, which are created once and
// keep their state between uses.
class QtUserDialogs : public UserDialogs {
public:
    QtUserDialogs();

    // The dialogs open over this window; the folder dialogs are created on first use.
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    std::optional<std::string> openProjectFile() override;
    std::optional<std::string> saveProjectFile(const std::string& presetName) override;
    std::vector<std::string> choosePictures(const std::string& filter) override;
    std::optional<std::string> choosePictureIn(const std::string& folder) override;
    std::optional<Color> chooseColor() override;
    std::optional<FolderToAdd> chooseFolderToAdd() override;
    std::optional<std::string> chooseDestinationFolder() override;
    Answer askYesNoCancel(const std::string& text) override;
    Answer askYesNoForAll(const std::string& text) override;
    void openExternally(const std::string& fileOrUrl) override;

private:
    QWidget* m_parent = nullptr;
    TfrmAddDir* m_addDir = nullptr;
    TfrmSelDestDir* m_selDestDir = nullptr;
    QString m_projectFolder;
    QString m_pictureFolder;
    // Black until the first choice, as a fresh colour dialog would be.
    Color m_lastColor = kBlack;
};

} // namespace vellumar
