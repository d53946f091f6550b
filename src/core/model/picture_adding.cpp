#include "picture_adding.h"

#include <filesystem>
#include <system_error>

#include "frontend.h"
#include "model/file_info.h"
#include "model/output_folders.h"
#include "path_text.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

struct FolderItem {
    std::string name;
    bool isFolder;
};

// The folder's pictures candidates and sub-folders in the order the file system lists them;
// an unreadable folder has none. Links to folders are left out, as they may lead back up the
// tree, and so are pipes and devices, which are no pictures and could block the reading.
std::vector<FolderItem> listFolder(const std::string& folder) {
    std::vector<FolderItem> items;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        const fs::file_status linkStatus = it->symlink_status(statusError);
        const fs::file_status status = it->status(statusError);
        if (fs::is_directory(linkStatus)) {
            items.push_back({it->path().filename().string(), true});
        } else if (fs::is_regular_file(status)) {
            items.push_back({it->path().filename().string(), false});
        }
    }
    return items;
}

} // namespace

bool AddPic(PictureList& list, const std::string& path, Frontend& frontend,
            const PictureFormatRegistry& registry) {
    if (list.isFull()) {
        return false;
    }
    TImgEntry entry;
    entry.file = trimBlanks(path);
    entry.title = fileNameOf(entry.file);
    FileInfoRow row = fileInfoRowOf(entry.file, registry);
    list.append(std::move(entry), std::move(row));
    list.setCountText(countWhileAdding(list.count()));
    frontend.processEvents();
    frontend.status(list.row(list.count()).fileName + " loaded");
    return true;
}

bool AddAllPic(PictureList& list, const std::string& folder, Frontend& frontend,
               const PictureFormatRegistry& registry) {
    const std::string prefix = withTrailingSeparator(folder);
    for (const FolderItem& item : listFolder(prefix)) {
        if (item.isFolder || !registry.acceptsFile(item.name)) {
            continue;
        }
        if (!AddPic(list, prefix + item.name, frontend, registry)) {
            frontend.notice(kListFullInFolder);
            return false;
        }
    }
    return true;
}

bool AddDirPic(PictureList& list, const std::string& folder, Frontend& frontend,
               const PictureFormatRegistry& registry) {
    const std::string prefix = withTrailingSeparator(folder);
    if (!AddAllPic(list, prefix, frontend, registry)) {
        return false;
    }
    for (const FolderItem& item : listFolder(prefix)) {
        if (item.isFolder && !AddDirPic(list, prefix + item.name, frontend, registry)) {
            frontend.notice(kListFullInSubfolder);
            return false;
        }
    }
    return true;
}

bool addChosenFiles(PictureList& list, const std::vector<std::string>& paths, Frontend& frontend,
                    const PictureFormatRegistry& registry) {
    if (paths.empty()) {
        return true;
    }
    std::vector<std::string> ordered(paths.begin() + 1, paths.end());
    ordered.push_back(paths.front());
    try {
        for (const std::string& path : ordered) {
            AddPic(list, path, frontend, registry);
        }
    } catch (const ProjectError& error) {
        frontend.notice(error.what());
        return false;
    }
    return true;
}

bool addFolder(PictureList& list, const std::string& folder, bool withSubfolders,
               Frontend& frontend, const PictureFormatRegistry& registry) {
    try {
        if (withSubfolders) {
            AddDirPic(list, folder, frontend, registry);
        } else {
            AddAllPic(list, folder, frontend, registry);
        }
    } catch (const ProjectError& error) {
        frontend.notice(error.what());
        return false;
    }
    frontend.status(std::to_string(list.count()) + " pictures loaded");
    return true;
}

} // namespace vellumar
