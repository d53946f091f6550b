#include "add_dir_dialog.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace vellumar {

TfrmAddDir::TfrmAddDir(QWidget* parent)
    : FolderTreeDialog(tr("Select directory to add"), tr("Current folder:"), parent) {
    cbSubDir = new QCheckBox(tr("Include all sub-directory"), this);
    cbSubDir->setObjectName(QStringLiteral("cbSubDir"));
    m_contentLayout->insertWidget(m_contentLayout->count() - 1, cbSubDir);
}

} // namespace vellumar
