#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QToolButton;
class QPushButton;

namespace vellumar {

class Frontend;
class Project;
class UserDialogs;

// The picture step: the file-info grid with its commands, the editors of the selected
// picture and its preview.
class PictureStep : public QWidget {
    Q_OBJECT
public:
    PictureStep(Project& project, Frontend& frontend, UserDialogs& dialogs,
                QWidget* parent = nullptr);

    // Rebuilds the grid from the list and shows the given row (from 1; 0 for none).
    void refill(int selectRow);
    // Shows the picture of a row in the editors and the preview (FileInfoClick), and puts
    // the caret into the title unless the grid is being walked with the keyboard.
    void showEntry(int row, bool focusTitle = true);
    int currentRow() const { return m_shownRow; }
    // While locked, nothing that changes the list or its entries can be used; the grid and
    // the preview still show the pictures.
    void setLocked(bool locked);

    // The commands, as the buttons run them.
    void addImages();
    void addFolderOfPictures();
    void removeSelected();
    void clearAll();
    void moveUp();
    void moveDown();
    void sortBy(int choice);
    // "Titles from descriptions": titles and infos from what the picture files carry.
    void takeTitlesFromFiles();

    QTableWidget* FileInfo = nullptr;
    QToolButton* btnAdd = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnUp = nullptr;
    QPushButton* btnDown = nullptr;
    QToolButton* btnSort = nullptr;
    QLineEdit* edtTitle = nullptr;
    QLineEdit* edtInfo = nullptr;
    QComboBox* cmbCrop = nullptr;
    QComboBox* cmbRotate = nullptr;
    QCheckBox* cbPreview = nullptr;
    QLabel* imgPreview = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* lblCount = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // The status line of the window.
    void statusChanged(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The columns at least as wide as their headers and what they show, the file names
    // taking the width that is left.
    void fitColumns();
    void buildLayout();
    void updateButtons();
    void updatePreview();
    void clearEditors();
    void commitTitle();
    void commitInfo();
    void commitCrop();
    void commitRotate();
    void infoEntered();
    // Runs a command of the core, showing its error if it fails.
    template <typename Command>
    void guarded(Command&& command);

    Project& m_project;
    Frontend& m_frontend;
    UserDialogs& m_dialogs;
    // The row whose picture the editors show: edits go there even when the grid's selection
    // has already moved on.
    int m_shownRow = 0;
    bool m_locked = false;
};

} // namespace vellumar
