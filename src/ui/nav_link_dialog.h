#pragma once

#include <string>

#include <QDialog>

#include "model/nav_link_editing.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vellumar {

class Frontend;
class UserDialogs;

// The navigation link options dialog: ticks the links of one set on or off and edits their
// labels, button images and the home link's address and target. Created once and reused;
// every opening starts again from the set it is given.
class TfrmNavLinkOpt : public QDialog {
    Q_OBJECT
public:
    // programFolder ends with "/"; the image chooser opens in its "button/" folder.
    TfrmNavLinkOpt(std::string programFolder, Frontend& frontend, UserDialogs& dialogs,
                   QWidget* parent = nullptr);

    // Shows the dialog modally on the set. OK writes the set back and returns true. Cancel,
    // Escape and the close box all return false and leave the set as it was: closing the
    // window is not an agreement to switch on links the user left unticked.
    bool editLinks(NavLinkSet& set, NavLinkSetKind kind, const StyleLinkImages& styleImages);

    QListWidget* cbList = nullptr;
    QLineEdit* edtText = nullptr;
    QLabel* lblLink = nullptr;
    QLineEdit* edtLink = nullptr;
    QLabel* lblTarget = nullptr;
    QComboBox* cmbTarget = nullptr;
    QLineEdit* edtImageFile = nullptr;
    QPushButton* btnImageFile = nullptr;
    QLabel* Image = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void showWorkingCopy();
    // Shows the working link of the highlighted item; only Home has an address and target.
    void showHighlighted();
    void showImage(const std::string& file, bool reportFailure);
    void chooseImage();
    TNavLink* highlightedLink();

    std::string m_chooserFolder;
    Frontend& m_frontend;
    UserDialogs& m_dialogs;
    NavLinkSetKind m_kind = NavLinkSetKind::Index;
    NavLinkWorkingCopy m_working;
};

} // namespace vellumar
