#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vellumar {

class UserDialogs;

// Shows the help text of the current step beside the main window, re-read every time the
// window becomes active, and opens the user manual on request.
class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    TfrmHelp(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The step help text and the manual, set by the main window before showing.
    void setFiles(const QString& stepHelpFile, const QString& manualFile);
    // Re-reads the step help text; keeps the previous text when it cannot be read.
    void reloadText();

    QPlainTextEdit* memoHelp = nullptr;
    QPushButton* btnClose = nullptr;
    QPushButton* btnExtHelp = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* lblExtHelp = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    UserDialogs& m_dialogs;
};

} // namespace vellumar
