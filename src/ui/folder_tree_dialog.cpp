#include "folder_tree_dialog.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace vellumar {

FolderTreeDialog::FolderTreeDialog(const QString& caption, const QString& heading, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    setModal(true);
    resize(420, 460);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());

    Dir = new QTreeView(this);
    Dir->setModel(m_model);
    Dir->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        Dir->hideColumn(column);
    }
    connect(Dir->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    m_currentFolder = m_model->filePath(current);
                    refreshLabel();
                }
            });

    lblDir = new QLabel(this);
    lblDir->setObjectName(QStringLiteral("lblDir"));
    lblDir->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("btnOK"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("btnCancel"));
    connect(okButton, &QPushButton::clicked, this, &FolderTreeDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &FolderTreeDialog::reject);

    m_contentLayout = new QVBoxLayout(this);
    m_contentLayout->addWidget(new QLabel(heading, this));
    m_contentLayout->addWidget(lblDir);
    m_contentLayout->addWidget(Dir, 1);
    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch(1);
    m_buttonRow->addWidget(okButton);
    m_buttonRow->addWidget(cancelButton);
    m_contentLayout->addLayout(m_buttonRow);

    setCurrentFolder(QDir::homePath());
}

void FolderTreeDialog::setCurrentFolder(const QString& folder) {
    m_currentFolder = QDir::cleanPath(folder);
    const QModelIndex index = m_model->index(m_currentFolder);
    if (index.isValid()) {
        Dir->setCurrentIndex(index);
        Dir->scrollTo(index);
    }
    refreshLabel();
}

std::optional<QString> FolderTreeDialog::chosenFolder() const {
    if (lblDir->text() == QLatin1String(kCancelled)) {
        return std::nullopt;
    }
    return m_currentFolder;
}

void FolderTreeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    refreshLabel();
}

void FolderTreeDialog::refreshLabel() {
    lblDir->setText(labelText(m_currentFolder));
}

void FolderTreeDialog::accept() {
    lblDir->setText(m_currentFolder); // the full path, never shortened
    QDialog::accept();
}

void FolderTreeDialog::reject() {
    lblDir->setText(QLatin1String(kCancelled));
    QDialog::reject();
}

} // namespace vellumar
