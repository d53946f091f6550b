#pragma once

#include <string>
#include <vector>

#include "model/gallery_settings.h"
#include "model/picture_failures.h"
#include "model/picture_list.h"
#include "model/style_defaults.h"
#include "readers/format_registry.h"

namespace vellumar {

class Frontend;

inline constexpr const char* kUntitledProject = "Untitled";
inline constexpr const char* kSaveBeforeExitQuestion = "Do you want to save project before exit ?";

// The open project: its pictures and settings, where it was opened from, and whether it
// holds changes that were never saved.
class Project {
public:
    Project();

    PictureList& pictures() { return m_pictures; }
    const PictureList& pictures() const { return m_pictures; }
    GallerySettings& settings() { return m_settings; }
    const GallerySettings& settings() const { return m_settings; }
    // The button images the chosen style names, offered when a link is switched on.
    StyleLinkImages& styleLinkImages() { return m_styleLinkImages; }

    // "Untitled" for a new project, the file of the last successful open, "" at start.
    const std::string& path() const { return m_path; }
    // Whether the last open succeeded.
    bool loaded() const { return m_loaded; }
    // What the last successful open could not take as it should: pictures whose file was
    // not found (left out) and pictures that are there but cannot be read (kept).
    const std::vector<std::string>& missingPictures() const { return m_missingPictures; }
    const std::vector<PictureFailure>& unreadablePictures() const { return m_unreadablePictures; }
    // Whether a save has happened since the program started.
    bool savedOnce() const { return m_savedOnce; }

    // Whether the pictures or settings differ from what was last saved, opened or started,
    // which is when closing should offer to save.
    bool hasUnsavedChanges() const;

    // A new project: no pictures, the settings as they are.
    void startNew();

    // Opens the project file and fills the grid. Pictures that cannot be decoded are kept,
    // marked "cannot be read" in the grid, and named in one notice. On failure reports "Load
    // project <path> fail!" with the reason and keeps the open project as it was.
    bool open(const std::string& path, const std::vector<std::string>& styles, Frontend& frontend,
              const PictureFormatRegistry& registry);

    // Saves to path. The project keeps its own path, as "Save project as" wants.
    void save(const std::string& path);

    // Takes the project as it stands as the unchanged state, as after applying the first
    // style at start-up.
    void markUnchanged();

private:
    PictureList m_pictures;
    GallerySettings m_settings;
    StyleLinkImages m_styleLinkImages;
    std::string m_path;
    std::vector<std::string> m_missingPictures;
    std::vector<PictureFailure> m_unreadablePictures;
    bool m_loaded = false;
    bool m_savedOnce = false;
    std::string m_savedText; // the project as last saved, opened or started
};

} // namespace vellumar
