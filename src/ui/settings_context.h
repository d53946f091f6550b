#pragma once

#include <string>

#include "model/gallery_settings.h"
#include "model/style_defaults.h"

namespace vellumar {

class Frontend;
class UserDialogs;

// What a settings page needs besides the settings: where the styles, buttons and backgrounds
// are, and how to talk to the user.
struct SettingsContext {
    GallerySettings& settings;
    StyleLinkImages& linkImages;
    std::string programFolder;
    Frontend& frontend;
    UserDialogs& dialogs;
};

} // namespace vellumar
