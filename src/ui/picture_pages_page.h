#pragma once

#include <QWidget>

#include "settings_context.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vellumar {

class ColorSwatch;
class NavigationRow;
class PageBackgroundGroup;

// The "Picture HTML pages" sub-page: what thumbnails link to, and the navigation and
// background of the picture pages.
class PicturePagesPage : public QWidget {
    Q_OBJECT
public:
    explicit PicturePagesPage(const SettingsContext& context, QWidget* parent = nullptr);

    void showSettings();

    QComboBox* cmbThumbLink = nullptr;
    QComboBox* cmbPageNav = nullptr;
    QPushButton* btnPageNavLink = nullptr;
    PageBackgroundGroup* PageBackground = nullptr;
    QLineEdit* edtPageBGPic = nullptr;
    QPushButton* btnPageBGPic = nullptr;
    QCheckBox* cbPageBGColor = nullptr;
    ColorSwatch* imgPageBGColor = nullptr;
    QPushButton* btnPageBGColor = nullptr;
    QCheckBox* cbImageProtect = nullptr;

private:
    GallerySettings& m_settings;
    NavigationRow* m_navigation = nullptr;
};

} // namespace vellumar
