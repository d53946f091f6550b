#include "sel_dest_dir_dialog.h"

#include <QDir>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>

namespace vellumar {

TfrmSelDestDir::TfrmSelDestDir(QWidget* parent)
    : FolderTreeDialog(tr("Select dest folder"), tr("Current selected folder:"), parent) {
    btnNewDir = new QPushButton(tr("New Dir"), this);
    btnNewDir->setObjectName(QStringLiteral("btnNewDir"));
    m_buttonRow->insertWidget(0, btnNewDir);
    connect(btnNewDir, &QPushButton::clicked, this, &TfrmSelDestDir::btnNewDirClick);
}

void TfrmSelDestDir::btnNewDirClick() {
    bool accepted = false;
    const QString name =
        QInputDialog::getText(this, tr("Enter new directory name"), tr("New directory name:"),
                              QLineEdit::Normal, QStringLiteral("MyNewDir"), &accepted);
    if (accepted) {
        createFolder(name);
    }
}

void TfrmSelDestDir::createFolder(const QString& name) {
    QString folder = currentFolder();
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    folder += name;
    QDir().mkdir(folder);
    setCurrentFolder(folder);
}

QString TfrmSelDestDir::labelText(const QString& folder) const {
    // Deep folders are shortened in the middle so both ends stay readable.
    return lblDir->fontMetrics().elidedText(folder, Qt::ElideMiddle, lblDir->width());
}

void TfrmSelDestDir::resizeEvent(QResizeEvent* event) {
    FolderTreeDialog::resizeEvent(event);
    refreshLabel();
}

} // namespace vellumar
