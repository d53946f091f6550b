#include "project.h"

#include "frontend.h"
#include "model/file_info.h"
#include "model/picture_editing.h"
#include "model/project_file.h"
#include "project_error.h"

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
    markUnchanged();
}

bool Project::open(const std::string& path, const std::vector<std::string>& styles,
                   Frontend& frontend, const PictureFormatRegistry& registry) {
    PictureList pictures;
    GallerySettings settings = m_settings;
    bool ok = LoadProject(path, pictures, settings, styles, frontend);
    if (ok) {
        // A picture that is there but cannot be read fails the open too: the grid shown and
        // the list held must agree.
        try {
            FillTable(pictures, frontend, registry);
        } catch (const ProjectError& error) {
            frontend.notice(error.what());
            ok = false;
        }
    }
    m_loaded = ok;
    if (!ok) {
        frontend.notice(loadFailedMessage(path));
        frontend.status(loadFailedMessage(path));
        return false;
    }
    m_pictures = std::move(pictures);
    m_settings = std::move(settings);
    m_path = path;
    frontend.status("Project " + path + " loaded.");
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
