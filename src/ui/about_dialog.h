#pragma once

#include <QDialog>

class QPushButton;

namespace vellumar {

inline constexpr const char* kProductName = "Vellumar";
inline constexpr const char* kVersionText = "Version 1.9.1";

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
};

} // namespace vellumar
