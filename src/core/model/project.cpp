#include "project.h"

#include "frontend.h"
#include "model/file_info.h"
#include "model/picture_editing.h"
#include "model/project_file.h"

namespace vellumar {

Project::Project() {
    markUnchanged();
}

bool Project::hasUnsavedChanges() const {
    return projectText(m_pictures, m_settings, "") != m_savedText;
}

void Project::startNew() {
    emptyPictures(m_pictures);
    m_path = kUntitledProject;
    m_missingPictures.clear();
    m_unreadablePictures.clear();
    markUnchanged();
}

bool Project::open(const std::string& path, const std::vector<std::string>& styles,
                   Frontend& frontend, const PictureFormatRegistry& registry) {
    PictureList pictures;
    GallerySettings settings = m_settings;
    const LoadResult result = LoadProject(path, pictures, settings, styles, frontend);
    m_loaded = result.loaded;
    if (!result) {
        frontend.notice(loadFailedNotice(path, result.reason));
        frontend.status(loadFailedMessage(path));
        return false;
    }
    // Pictures that are there but cannot be decoded stay in the project, marked in the grid,
    // so a user can open it and remove or replace them.
    pictures.setSizesAsCameraHeld(settings.AutoRotate);
    std::vector<PictureFailure> unreadable = FillTable(pictures, frontend, registry);
    m_pictures = std::move(pictures);
    m_settings = std::move(settings);
    m_path = path;
    if (unreadable.empty()) {
        frontend.status("Project " + path + " loaded.");
    } else {
        frontend.notice(
            failureListMessage(unreadablePicturesHeading(unreadable.size()), unreadable));
        frontend.status("Project " + path + " loaded; " + std::to_string(unreadable.size()) +
                        " of its pictures cannot be read.");
    }
    m_missingPictures = result.missing;
    m_unreadablePictures = std::move(unreadable);
    markUnchanged();
    return true;
}

void Project::save(const std::string& path) {
    SaveProject(path, m_pictures, m_settings);
    m_savedOnce = true;
    markUnchanged();
}

void Project::markUnchanged() {
    m_savedText = projectText(m_pictures, m_settings, "");
}

} // namespace vellumar
