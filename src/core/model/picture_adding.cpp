#include "picture_adding.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "frontend.h"
#include "model/file_info.h"
#include "model/natural_name_order.h"
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

// The folder's picture candidates and sub-folders in name order as a file manager shows
// them, whatever order the file system keeps them in; an unreadable folder has none. Links to
// folders are left out, as they may lead back up the tree, and so are pipes and devices, which are
// no pictures and could block the reading.
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
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) {
        return naturalNameLess(a.name, b.name);
    });
    return items;
}

// The picture files directly in a folder, in listing order: what AddAllPic would try.
std::vector<std::string> pictureFilesIn(const std::string& prefix,
                                        const PictureFormatRegistry& registry) {
    std::vector<std::string> files;
    for (const FolderItem& item : listFolder(prefix)) {
        if (!item.isFolder && registry.acceptsFile(item.name)) {
            files.push_back(prefix + item.name);
        }
    }
    return files;
}

std::vector<std::string> subfoldersIn(const std::string& prefix) {
    std::vector<std::string> folders;
    for (const FolderItem& item : listFolder(prefix)) {
        if (item.isFolder) {
            folders.push_back(withTrailingSeparator(prefix + item.name));
        }
    }
    return folders;
}

// Names every picture file of the tree below prefix as left out, in the order AddDirPic
// would have tried them.
void leaveOutTree(const std::string& prefix, const PictureFormatRegistry& registry,
                  std::vector<std::string>& leftOut) {
    const std::vector<std::string> files = pictureFilesIn(prefix, registry);
    leftOut.insert(leftOut.end(), files.begin(), files.end());
    for (const std::string& folder : subfoldersIn(prefix)) {
        leaveOutTree(folder, registry, leftOut);
    }
}

// Adds one picture; one that cannot be read is noted and passed over, so the pictures after
// it still come in.
bool addOrNote(PictureList& list, const std::string& path, Frontend& frontend, AddingReport& report,
               const PictureFormatRegistry& registry) {
    try {
        return AddPic(list, path, frontend, registry);
    } catch (const ProjectError& error) {
        report.unreadable.push_back({path, error.what()});
        return true;
    }
}

} // namespace

bool AddPic(PictureList& list, const std::string& path, Frontend& frontend,
            const PictureFormatRegistry& registry) {
    if (list.isFull()) {
        return false;
    }
    TImgEntry entry;
    // Stored in full, so the project finds its pictures from wherever it is built.
    entry.file = fs::absolute(trimBlanks(path)).string();
    entry.title = fileNameOf(entry.file);
    FileInfoRow row = fileInfoRowOf(entry.file, registry, list.sizesAsCameraHeld());
    list.append(std::move(entry), std::move(row));
    list.setCountText(countWhileAdding(list.count()));
    frontend.processEvents();
    frontend.status(list.row(list.count()).fileName + " loaded");
    return true;
}

bool AddAllPic(PictureList& list, const std::string& folder, Frontend& frontend,
               AddingReport& report, const PictureFormatRegistry& registry) {
    const std::vector<std::string> files = pictureFilesIn(withTrailingSeparator(folder), registry);
    for (auto file = files.begin(); file != files.end(); ++file) {
        if (!addOrNote(list, *file, frontend, report, registry)) {
            report.leftOut.insert(report.leftOut.end(), file, files.end());
            frontend.notice(kListFullInFolder);
            return false;
        }
    }
    return true;
}

bool AddDirPic(PictureList& list, const std::string& folder, Frontend& frontend,
               AddingReport& report, const PictureFormatRegistry& registry) {
    const std::string prefix = withTrailingSeparator(folder);
    const std::vector<std::string> subfolders = subfoldersIn(prefix);
    if (!AddAllPic(list, prefix, frontend, report, registry)) {
        for (const std::string& subfolder : subfolders) {
            leaveOutTree(subfolder, registry, report.leftOut);
        }
        return false;
    }
    for (auto subfolder = subfolders.begin(); subfolder != subfolders.end(); ++subfolder) {
        if (!AddDirPic(list, *subfolder, frontend, report, registry)) {
            for (auto rest = subfolder + 1; rest != subfolders.end(); ++rest) {
                leaveOutTree(*rest, registry, report.leftOut);
            }
            frontend.notice(kListFullInSubfolder);
            return false;
        }
    }
    return true;
}

void reportUnreadable(const AddingReport& report, Frontend& frontend) {
    if (!report.unreadable.empty()) {
        frontend.notice(failureListMessage(unreadablePicturesHeading(report.unreadable.size()),
                                           report.unreadable));
    }
}

bool addChosenFiles(PictureList& list, const std::vector<std::string>& paths, Frontend& frontend,
                    const PictureFormatRegistry& registry) {
    if (paths.empty()) {
        return true;
    }
    std::vector<std::string> ordered(paths.begin() + 1, paths.end());
    ordered.push_back(paths.front());
    AddingReport report;
    for (const std::string& path : ordered) {
        addOrNote(list, path, frontend, report, registry);
    }
    reportUnreadable(report, frontend);
    return report.unreadable.empty();
}

bool addFolder(PictureList& list, const std::string& folder, bool withSubfolders,
               Frontend& frontend, const PictureFormatRegistry& registry) {
    AddingReport report;
    if (withSubfolders) {
        AddDirPic(list, folder, frontend, report, registry);
    } else {
        AddAllPic(list, folder, frontend, report, registry);
    }
    reportUnreadable(report, frontend);
    frontend.status(std::to_string(list.count()) + " pictures loaded");
    return report.unreadable.empty();
}

} // namespace vellumar
