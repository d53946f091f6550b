#include "page_background_group.h"

#include <QLabel>
#include <QVBoxLayout>

#include "color_switch.h"
#include "picture_path_field.h"

namespace vellumar {

PageBackgroundGroup::PageBackgroundGroup(std::string& picture, Switched<Color>& color,
                                         const std::string& programFolder, UserDialogs& dialogs,
                                         QWidget* parent)
    : QGroupBox(tr("Page background"), parent) {
    this->picture = new PicturePathField(picture, programFolder, dialogs, this);
    this->color = new ColorSwitch(tr("Color:"), color, dialogs, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Picture:"), this));
    layout->addWidget(this->picture);
    layout->addWidget(this->color);
}

void PageBackgroundGroup::showSettings() {
    picture->showSetting();
    color->showSetting();
}

} // namespace vellumar
