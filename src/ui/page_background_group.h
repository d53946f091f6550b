#pragma once

#include <string>

#include <QGroupBox>

#include "model/gallery_settings.h"

namespace vellumar {

class ColorSwitch;
class PicturePathField;
class UserDialogs;

// "Page background": a picture and a colour that can be switched off.
class PageBackgroundGroup : public QGroupBox {
    Q_OBJECT
public:
    PageBackgroundGroup(std::string& picture, Switched<Color>& color,
                        const std::string& programFolder, UserDialogs& dialogs,
                        QWidget* parent = nullptr);

    void showSettings();

    PicturePathField* picture = nullptr;
    ColorSwitch* color = nullptr;
};

} // namespace vellumar
