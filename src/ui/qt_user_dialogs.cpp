#include "qt_user_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "add_dir_dialog.h"
#include "picture_file_dialog.h"
#include "readers/reader_table.h"
#include "sel_dest_dir_dialog.h"

namespace vellumar {

QtUserDialogs::QtUserDialogs()
    : m_projectFolder(QDir::homePath()), m_pictureFolder(QDir::homePath()) {}

std::optional<std::string> QtUserDialogs::openProjectFile() {
    QFileDialog dialog(m_parent, QObject::tr("Open project"), m_projectFolder,
                       QStringLiteral("VLMR project file(*.vlm)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("vlm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    m_projectFolder = QFileInfo(path).absolutePath();
    return path.toStdString();
}

std::optional<std::string> QtUserDialogs::saveProjectFile(const std::string& presetName) {
    QFileDialog dialog(m_parent, QObject::tr("Save project"), m_projectFolder,
                       QStringLiteral("VLMR project files (*.vlm)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension would hide the file from the open chooser's filter.
    dialog.setDefaultSuffix(QStringLiteral("vlm"));
    dialog.selectFile(QString::fromStdString(presetName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().constFirst();
    m_projectFolder = QFileInfo(path).absolutePath();
    return path.toStdString();
}

std::vector<std::string> QtUserDialogs::choosePictures(const std::string& filter) {
    PictureFileDialog dialog(m_parent, m_pictureFolder, QString::fromStdString(filter));
    std::vector<std::string> paths;
    if (dialog.exec() != QDialog::Accepted) {
        return paths;
    }
    const QStringList chosen = dialog.selectedFiles();
    for (const QString& path : chosen) {
        paths.push_back(path.toStdString());
    }
    if (!chosen.isEmpty()) {
        m_pictureFolder = QFileInfo(chosen.constFirst()).absolutePath();
    }
    return paths;
}

std::optional<std::string> QtUserDialogs::choosePictureIn(const std::string& folder) {
    PictureFileDialog dialog(m_parent, QString::fromStdString(folder),
                             QString::fromStdString(pictureFormats().dialogFilter()));
    dialog.setWindowTitle(QObject::tr("Choose picture"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<Color> QtUserDialogs::chooseColor() {
    const QColor chosen = QColorDialog::getColor(
        QColor(redOf(m_lastColor), greenOf(m_lastColor), blueOf(m_lastColor)), m_parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    m_lastColor = makeColor(chosen.red(), chosen.green(), chosen.blue());
    return m_lastColor;
}

std::optional<FolderToAdd> QtUserDialogs::chooseFolderToAdd() {
    if (!m_addDir) {
        m_addDir = new TfrmAddDir(m_parent);
    }
    m_addDir->exec();
    const auto folder = m_addDir->chosenFolder();
    if (!folder) {
        return std::nullopt;
    }
    return FolderToAdd{folder->toStdString(), m_addDir->cbSubDir->isChecked()};
}

std::optional<std::string> QtUserDialogs::chooseDestinationFolder() {
    if (!m_selDestDir) {
        m_selDestDir = new TfrmSelDestDir(m_parent);
    }
    m_selDestDir->exec();
    const auto folder = m_selDestDir->chosenFolder();
    if (!folder) {
        return std::nullopt;
    }
    return folder->toStdString();
}

Answer QtUserDialogs::askYesNoCancel(const std::string& text) {
    switch (QMessageBox::question(
        m_parent, QApplication::applicationDisplayName(), QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Answer QtUserDialogs::askYesNoForAll(const std::string& text) {
    QMessageBox box(
        QMessageBox::Question, QApplication::applicationDisplayName(), QString::fromStdString(text),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll | QMessageBox::NoToAll,
        m_parent);
    box.button(QMessageBox::YesToAll)->setText(QObject::tr("Yes to &all"));
    box.button(QMessageBox::NoToAll)->setText(QObject::tr("No &to all"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::YesToAll:
        return Answer::YesToAll;
    case QMessageBox::NoToAll:
        return Answer::NoToAll;
    default:
        return Answer::No;
    }
}

void QtUserDialogs::openExternally(const std::string& fileOrUrl) {
    const QString text = QString::fromStdString(fileOrUrl);
    const QUrl url = text.contains(QLatin1String(":")) && !text.startsWith(QLatin1Char('/'))
                         ? QUrl(text)
                         : QUrl::fromLocalFile(text);
    QDesktopServices::openUrl(url);
}

} // namespace vellumar
