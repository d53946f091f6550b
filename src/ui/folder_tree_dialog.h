#pragma once

#include <optional>

#include <QDialog>

class QFileSystemModel;
class QLabel;
class QTreeView;
class QVBoxLayout;
class QHBoxLayout;

namespace vellumar {

// A modal folder chooser: a folder tree, a label showing the current folder, OK and Cancel.
// After the dialog closes, lblDir holds the chosen folder, or "cancel" when the user
// cancelled (also by the window's close box). Created once, it opens where it was left.
class FolderTreeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCancelled = "cancel";

    // The chosen folder, or nothing when cancelled.
    std::optional<QString> chosenFolder() const;
    QString currentFolder() const { return m_currentFolder; }
    void setCurrentFolder(const QString& folder);

    QLabel* lblDir = nullptr;
    QTreeView* Dir = nullptr;

protected:
    FolderTreeDialog(const QString& caption, const QString& heading, QWidget* parent);

    // Rows for the buttons and extras of the derived dialogs.
    QVBoxLayout* m_contentLayout = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;

    // What the label shows for the current folder; the full path unless overridden.
    virtual QString labelText(const QString& folder) const { return folder; }
    void refreshLabel();
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void accept() override;

    QFileSystemModel* m_model = nullptr;
    QString m_currentFolder;
};

} // namespace vellumar
