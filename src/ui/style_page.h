#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "settings_context.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vellumar {

class BorderRow;
class ColorSwatch;
class FlaggedNumber;
class NumberField;
class UpDown;

// The "Style and thumbnail" sub-page: the style with its sample picture, and the size, scaling,
// file names and border of the thumbnails.
class StylePage : public QWidget {
    Q_OBJECT
public:
    StylePage(const SettingsContext& context, const std::vector<std::string>& styles,
              QWidget* parent = nullptr);

    // Selects the style and applies its defaults and sample picture, as a choice in the list
    // does. Failures are reported and leave what was applied before them.
    void applyStyle(const std::string& style);
    // Shows the settings as they stand; a loaded project's style is selected, not applied.
    void showSettings();

    QComboBox* cmbStyle = nullptr;
    QLabel* imgStylePreview = nullptr;
    QCheckBox* cbThumbWidth = nullptr;
    QLineEdit* edtThumbWidth = nullptr;
    UpDown* ThumbWidthTune = nullptr;
    QCheckBox* cbThumbHeight = nullptr;
    QLineEdit* edtThumbHeight = nullptr;
    UpDown* ThumbHeightTune = nullptr;
    QRadioButton* rbThumbStretch = nullptr;
    QRadioButton* rbThumbCrop = nullptr;
    QCheckBox* cbSmoothScaling = nullptr;
    QCheckBox* cbAutoRotate = nullptr;
    QCheckBox* cbHiDpiThumbs = nullptr;
    QComboBox* cboModernFormats = nullptr;
    QLineEdit* edtThumbPrefix = nullptr;
    QLineEdit* edtThumbSuffix = nullptr;
    QPushButton* btnRenameSoft = nullptr;
    QGroupBox* gbThumbBorder = nullptr;
    QCheckBox* cbThumbBorder = nullptr;
    QLabel* lblThumbBorderWidth = nullptr;
    QLineEdit* edtThumbBorderWidth = nullptr;
    UpDown* ThumbBorderTune = nullptr;
    QLabel* lblThumbBorderColor = nullptr;
    ColorSwatch* imgThumbBorderColor = nullptr;
    QPushButton* btnBorderColor = nullptr;

signals:
    // The style's defaults went into the settings: every page should show them.
    void styleApplied();

private:
    QWidget* buildStyleColumn();
    QGroupBox* buildSizeGroup();
    QGroupBox* buildFileNameGroup();
    QGroupBox* buildBorderGroup();
    void showSample(const std::string& style);
    void showStates();

    SettingsContext m_context;
    GallerySettings& m_settings;
    FlaggedNumber* m_thumbWidth = nullptr;
    FlaggedNumber* m_thumbHeight = nullptr;
    BorderRow* m_border = nullptr;
    std::string m_sampleStyle; // whose sample the box shows, or was last asked to show
};

} // namespace vellumar
