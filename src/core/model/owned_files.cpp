#include "owned_files.h"

#include <algorithm>

#include "file_io.h"
#include "model/gallery_file_names.h"
#include "path_text.h"
#include "text_util.h"

namespace vellumar {

OwnedFiles::OwnedFiles(const GallerySettings& settings, OutputFolders folders,
                       TemplateFiles templateFiles)
    : m_settings(settings), m_folders(std::move(folders)),
      m_templateFiles(std::move(templateFiles)), m_empty(false) {
    for (const TNavLink* button : copiedButtons(settings)) {
        m_buttonNames.push_back(buttonFileName(*button));
        m_sources.push_back(button->file);
    }
    for (const std::string* picture :
         {&settings.IdxPageBGPic, &settings.PageBGPic, &settings.ThumbTableBGPic}) {
        m_sources.push_back(trimBlanks(*picture));
    }
    for (const std::string& name : m_templateFiles.names) {
        m_sources.push_back(m_templateFiles.folder + name);
    }
}

bool OwnedFiles::owns(const std::string& folder, std::string_view name) const {
    if (m_empty) {
        return false;
    }
    const bool thumbs = sameFile(folder, m_folders.thumbs);
    const bool pictures = sameFile(folder, m_folders.pictures);
    const bool recognised = (thumbs && isThumbnailFileName(m_settings, name)) ||
                            (pictures && isLargePictureFileName(name)) ||
                            ((thumbs || pictures) && name == kTemporaryBitmap) ||
                            (sameFile(folder, m_folders.root) && ownsAsRoot(name)) ||
                            (sameFile(folder, m_folders.pages) && ownsAsPages(name));
    return recognised && !isASource(withTrailingSeparator(folder) + std::string(name));
}

bool OwnedFiles::isPage(const std::string& folder, std::string_view name) const {
    return (sameFile(folder, m_folders.root) && isIndexPageFileName(m_settings, name)) ||
           (sameFile(folder, m_folders.pages) && isPicturePageFileName(name));
}

bool OwnedFiles::ownsAsRoot(std::string_view name) const {
    return isIndexPageFileName(m_settings, name) || name == kPageBackgroundJpeg ||
           name == kPageBackgroundGif || name == kTableBackground || isCopiedTemplateFile(name) ||
           std::find(m_buttonNames.begin(), m_buttonNames.end(), name) != m_buttonNames.end();
}

bool OwnedFiles::ownsAsPages(std::string_view name) const {
    return isPicturePageFileName(name) || name == kPageBackgroundJpeg ||
           name == kPageBackgroundGif || isCopiedTemplateFile(name);
}

bool OwnedFiles::isCopiedTemplateFile(std::string_view name) const {
    const std::vector<std::string>& names = m_templateFiles.names;
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool OwnedFiles::isASource(const std::string& path) const {
    return std::any_of(m_sources.begin(), m_sources.end(), [&](const std::string& source) {
        return !source.empty() && sameFile(source, path);
    });
}

} // namespace vellumar
