#pragma once

#include <QWidget>

#include "model/enums.h"

class QComboBox;
class QPushButton;

namespace vellumar {

// Where a page kind's navigation links go, with the "Advanced" button that edits the links.
class NavigationRow : public QWidget {
    Q_OBJECT
public:
    NavigationRow(NavPosition& setting, QWidget* parent = nullptr);

    void showSetting();

    QComboBox* position = nullptr;
    QPushButton* advanced = nullptr;

private:
    NavPosition& m_setting;
};

} // namespace vellumar
