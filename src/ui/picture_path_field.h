#pragma once

#include <string>

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace vellumar {

class UserDialogs;

// A background picture setting: a field that may be typed into freely and a ". . ." chooser
// that opens in the program's background folder and fills in the chosen file's full path.
class PicturePathField : public QWidget {
    Q_OBJECT
public:
    PicturePathField(std::string& setting, const std::string& programFolder, UserDialogs& dialogs,
                     QWidget* parent = nullptr);

    void showSetting();

    QLineEdit* edit = nullptr;
    QPushButton* chooser = nullptr;

private:
    std::string& m_setting;
};

} // namespace vellumar
