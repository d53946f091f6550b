#pragma once

#include <string>
#include <vector>

#include "model/gallery_settings.h"
#include "model/picture_list.h"

namespace vellumar {

class Frontend;

// The text of a project file: sections project, Setting and Image1..ImageN. projectName is
// the file's own name, without folder.
std::string projectText(const PictureList& list, const GallerySettings& settings,
                        const std::string& projectName);

// Writes the project to path, replacing any file there only once the new one is complete; a
// link is written through to the file it leads to. Fails with "Unable to write to <path>"
// and, on a second line, the reason, leaving the old file as it was; refuses a path that
// holds something other than a regular file, or a read-only file.
void SaveProject(const std::string& path, const PictureList& list, const GallerySettings& settings);

// What a load came to: whether it succeeded and, when not, why: the section, key and line
// that failed, or the system's error.
struct LoadResult {
    bool loaded = false;
    std::string reason;
    // The picture files that were not found and left out.
    std::vector<std::string> missing;

    explicit operator bool() const { return loaded; }
};

// Reads the project at path into the list and settings. Settings the file does not hold
// keep their values. Pictures whose file is gone are reported and left out. Fails, changing
// nothing, when the file cannot be read, is not a project file (it has neither a project nor
// a Setting section), holds a NUL byte (the reason names its line), or a number in it is
// missing or wrong.
// styles is the installed style list the Style key is matched against. The grid rows of the
// loaded pictures are left blank (FillTable fills them).
LoadResult LoadProject(const std::string& path, PictureList& list, GallerySettings& settings,
                       const std::vector<std::string>& styles, Frontend& frontend);

// "Load project <path> fail!"
std::string loadFailedMessage(const std::string& path);
// The same with the reason on a second line, as a notice shows it.
std::string loadFailedNotice(const std::string& path, const std::string& reason);

} // namespace vellumar
