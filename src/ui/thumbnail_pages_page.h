#pragma once

#include <vector>

#include <QWidget>

#include "settings_context.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vellumar {

class ColorChooser;
class ColorSwatch;
class ColorSwitch;
class NavigationRow;
class NumberField;
class PageBackgroundGroup;
class PicturePathField;
class UpDown;

// The "Thumbnail pages" sub-page: the index page's file name, navigation and background, and
// the table of thumbnails.
class ThumbnailPagesPage : public QWidget {
    Q_OBJECT
public:
    explicit ThumbnailPagesPage(const SettingsContext& context, QWidget* parent = nullptr);

    void showSettings();

    QLineEdit* edtIdxFileName = nullptr;
    QComboBox* cmbIdxNavLink = nullptr;
    QPushButton* btnIdxNavLink = nullptr;
    PageBackgroundGroup* IdxPageBackground = nullptr;
    QLineEdit* edtIdxPageBGPic = nullptr;
    QPushButton* btnIdxPageBGPic = nullptr;
    QCheckBox* cbIdxPageBGColor = nullptr;
    ColorSwatch* imgIdxPageBGColor = nullptr;
    QPushButton* btnIdxPageBGColor = nullptr;
    QLineEdit* edtThumbTableCol = nullptr;
    UpDown* ThumbTableColTune = nullptr;
    QLineEdit* edtThumbTableRow = nullptr;
    UpDown* ThumbTableRowTune = nullptr;
    QLineEdit* edtThumbTableCellPad = nullptr;
    UpDown* ThumbTableCellPadTune = nullptr;
    QLineEdit* edtThumbTableCellSpace = nullptr;
    UpDown* ThumbTableCellSpaceTune = nullptr;
    QLineEdit* edtThumbTableBorderWidth = nullptr;
    UpDown* ThumbTableBorderWidthTune = nullptr;
    ColorSwatch* imgThumbTableBorderColor = nullptr;
    QPushButton* btnThumbTableBorderColor = nullptr;
    QLineEdit* edtThumbTableBGPic = nullptr;
    QPushButton* btnThumbTableBGPic = nullptr;
    QCheckBox* cbThumbTableBGColor = nullptr;
    ColorSwatch* imgThumbTableBGColor = nullptr;
    QPushButton* btnThumbTableBGColor = nullptr;
    QCheckBox* cbThumbProtect = nullptr;

private:
    QWidget* buildTableGroup(const SettingsContext& context);

    GallerySettings& m_settings;
    NavigationRow* m_navigation = nullptr;
    std::vector<NumberField*> m_tableNumbers;
    ColorChooser* m_tableBorderColor = nullptr;
    PicturePathField* m_tableBGPic = nullptr;
    ColorSwitch* m_tableBGColor = nullptr;
};

} // namespace vellumar
