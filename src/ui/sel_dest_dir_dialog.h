#pragma once

#include "folder_tree_dialog.h"

class QPushButton;

namespace vellumar {

// Chooses the destination folder of a gallery, with a button that makes a new folder.
class TfrmSelDestDir : public FolderTreeDialog {
    Q_OBJECT
public:
    explicit TfrmSelDestDir(QWidget* parent = nullptr);

    QPushButton* btnNewDir = nullptr;

    // Makes the folder name inside the current folder and moves there.
    void createFolder(const QString& name);

protected:
    QString labelText(const QString& folder) const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void btnNewDirClick();
};

} // namespace vellumar
