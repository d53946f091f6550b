#pragma once

#include <optional>
#include <string>
#include <vector>

#include "color.h"

namespace vellumar {

// A folder chosen for adding pictures, with or without its sub-folders.
struct FolderToAdd {
    std::string folder;
    bool withSubfolders = false;
};

// The answers of the wizard's questions that offer more than Yes and No.
enum class Answer { Yes, No, Cancel, YesToAll, NoToAll };

// The choosers and shell requests of the wizard. The window asks for them through this
// interface, so tests can answer them without a dialog on screen.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A project file to open, or nothing when cancelled.
    virtual std::optional<std::string> openProjectFile() = 0;
    // A project file to save to, the chooser preset to presetName; nothing when cancelled.
    virtual std::optional<std::string> saveProjectFile(const std::string& presetName) = 0;
    // Picture files in the order the chooser returns them; empty when cancelled.
    virtual std::vector<std::string> choosePictures(const std::string& filter) = 0;
    // One picture file, the chooser opening in folder; nothing when cancelled.
    virtual std::optional<std::string> choosePictureIn(const std::string& folder) = 0;
    // The one colour dialog of the window, opening on the colour last chosen in it.
    virtual std::optional<Color> chooseColor() = 0;
    // The add-directory dialog.
    virtual std::optional<FolderToAdd> chooseFolderToAdd() = 0;
    // The destination-folder dialog.
    virtual std::optional<std::string> chooseDestinationFolder() = 0;
    // A question with Yes, No and Cancel; Escape and the close box answer Cancel.
    virtual Answer askYesNoCancel(const std::string& text) = 0;
    // A question with Yes, No, "Yes to all" and "No to all"; Escape answers No.
    virtual Answer askYesNoForAll(const std::string& text) = 0;
    // Hands a file or address to the desktop's default handler without waiting.
    virtual void openExternally(const std::string& fileOrUrl) = 0;
};

} // namespace vellumar
