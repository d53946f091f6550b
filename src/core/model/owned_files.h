#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/gallery_settings.h"
#include "model/output_folders.h"

namespace vellumar {

// The files a style's template brings into a gallery: the names as the template refers to
// them, copied from the folder (ending with "/") beside the page folders.
struct TemplateFiles {
    std::string folder;
    std::vector<std::string> names;
};

// Recognises, by name, the files that a build of one gallery writes into the folder it is
// given: thumbnails (also at double size) in the thumbnail folder, large pictures in the
// large-picture folder, the index pages with their backgrounds, the copied template files and
// button images beside them, the picture pages with their backgrounds and template files,
// and the temporary bitmap of earlier builds in the picture folders. A folder that serves
// several of these holds the files of each. Numbered names count for any number a picture
// list can hold, so files of pictures no longer in the list are recognised too. A file that
// is the source of something the build copies is never one of its outputs.
//
// What is not recognised is the user's: "Always overwrite" deletes only what this says.
class OwnedFiles {
public:
    // Owns nothing.
    OwnedFiles() = default;
    OwnedFiles(const GallerySettings& settings, OutputFolders folders, TemplateFiles templateFiles);

    bool owns(const std::string& folder, std::string_view name) const;
    // Whether an owned file is an index or picture page, which links to the others.
    bool isPage(const std::string& folder, std::string_view name) const;

private:
    bool ownsAsRoot(std::string_view name) const;
    bool ownsAsPages(std::string_view name) const;
    bool isCopiedTemplateFile(std::string_view name) const;
    bool isASource(const std::string& path) const;

    GallerySettings m_settings;
    OutputFolders m_folders;
    TemplateFiles m_templateFiles;
    std::vector<std::string> m_buttonNames;
    std::vector<std::string> m_sources;
    bool m_empty = true;
};

} // namespace vellumar
