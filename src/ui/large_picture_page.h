#pragma once

#include <QWidget>

#include "settings_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellumar {

class BorderRow;
class ColorSwatch;
class FlaggedNumber;
class NumberField;
class UpDown;

// The "Large picture" sub-page: whether the pictures are resized, to what size, their
// border, and whether wide-gamut pictures keep their colours for wide-gamut screens.
class LargePicturePage : public QWidget {
    Q_OBJECT
public:
    explicit LargePicturePage(const SettingsContext& context, QWidget* parent = nullptr);

    void showSettings();

    QCheckBox* cbResizePic = nullptr;
    QCheckBox* cbPicWidth = nullptr;
    QLineEdit* edtPicWidth = nullptr;
    UpDown* PicWidthTune = nullptr;
    QCheckBox* cbPicHeight = nullptr;
    QLineEdit* edtPicHeight = nullptr;
    UpDown* PicHeightTune = nullptr;
    QCheckBox* cbPicKeepRatio = nullptr;
    QCheckBox* cbPicBorder = nullptr;
    QLabel* lblPicBorderWidth = nullptr;
    QLineEdit* edtPicBorderWidth = nullptr;
    UpDown* PicBorderWidthTune = nullptr;
    QLabel* lblPicBorderColor = nullptr;
    ColorSwatch* imgPicBorderColor = nullptr;
    QPushButton* btnPicBorderColor = nullptr;
    QCheckBox* cbWideGamut = nullptr;
    QCheckBox* cbKeepOriginalJpeg = nullptr;
    QLineEdit* edtResponsiveWidths = nullptr;

private:
    void showStates();
    void showResponsiveWidths();

    GallerySettings& m_settings;
    FlaggedNumber* m_picWidth = nullptr;
    FlaggedNumber* m_picHeight = nullptr;
    BorderRow* m_border = nullptr;
};

} // namespace vellumar
