#pragma once

#include <QDialog>

class QLabel;
class QTextEdit;
class QPushButton;

namespace vellumar {

class UserDialogs;

// Shows the help text of the current step beside the main window, re-read every time the
// window becomes active, and opens the user manual on request. Each line of a help text is a
// paragraph that wraps to the window; an indented line keeps its indent when it wraps.
class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    TfrmHelp(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The step help text and the manual, set by the main window before showing.
    void setFiles(const QString& stepHelpFile, const QString& manualFile);
    // Re-reads the step help text; keeps the previous text when it cannot be read.
    void reloadText();

    QTextEdit* memoHelp = nullptr;
    QPushButton* btnClose = nullptr;
    QPushButton* btnExtHelp = nullptr;
    QLabel* lblFileName = nullptr;
    QLabel* lblExtHelp = nullptr;

protected:
    bool event(QEvent* event) override;

private:
    void showText(const QString& text);

    UserDialogs& m_dialogs;
};

} // namespace vellumar
