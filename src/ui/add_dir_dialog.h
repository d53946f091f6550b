#pragma once

#include "folder_tree_dialog.h"

class QCheckBox;

namespace vellumar {

// Chooses a folder whose pictures are added, with or without its sub-folders.
class TfrmAddDir : public FolderTreeDialog {
    Q_OBJECT
public:
    explicit TfrmAddDir(QWidget* parent = nullptr);

    QCheckBox* cbSubDir = nullptr;
};

} // namespace vellumar
