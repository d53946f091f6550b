#include "output_policy.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "atomic_file.h"
#include "path_text.h"
#include "project_error.h"
#include "user_home.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

// The place a path names, with the folders above it resolved but not the last part itself,
// so a symbolic link is told apart from the file it points at.
std::string locationKey(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    const fs::path parent = fs::weakly_canonical(absolute.parent_path(), error);
    return (error ? absolute.parent_path() : parent) / absolute.filename();
}

// The file a path ends up at after every link is followed; empty when there is none.
std::string targetKey(const fs::path& path) {
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    return error ? std::string() : target.string();
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

// $HOME, and the home folder the password database gives, which also holds when HOME is
// unset or points elsewhere.
std::vector<std::string> homeFolders() {
    std::vector<std::string> homes;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        homes.emplace_back(home);
    }
    if (std::optional<std::string> home = passwordDatabaseHome()) {
        homes.push_back(std::move(*home));
    }
    return homes;
}

// The folder as named, without the separator at its end that would make lstat follow a link.
fs::path withoutTrailingSeparator(const std::string& folder) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool isSymbolicLink(const std::string& folder) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(withoutTrailingSeparator(folder), error));
}

// The first folder between root (excluded) and folder (included) that is a symbolic link.
std::optional<std::string> firstLinkBelow(const std::string& root, const std::string& folder) {
    if (!folder.starts_with(root)) {
        return std::nullopt;
    }
    std::string path = root;
    for (const fs::path& part : fs::path(folder.substr(root.size()))) {
        path = withTrailingSeparator(path) + part.string();
        if (!part.empty() && part != "." && isSymbolicLink(path)) {
            return path;
        }
    }
    return std::nullopt;
}

// The files directly inside folder (plain files and links, judged as the links themselves)
// that `doomed` picks; sub-folders are never looked at.
template <typename Doomed>
std::vector<fs::path> filesPicked(const std::string& folder, const Doomed& doomed) {
    std::error_code error;
    std::vector<fs::path> chosen;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (!statusError && !fs::is_directory(status) && doomed(it->path())) {
            chosen.push_back(it->path());
        }
    }
    return chosen;
}

void removeFiles(const std::vector<fs::path>& paths) {
    for (const fs::path& path : paths) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}

ProjectError linkRefusal(const std::string& folder) {
    return ProjectError("The gallery folder " + withoutTrailingSeparator(folder).string() +
                        " is a link; choose the folder itself.");
}

} // namespace

std::vector<std::string> projectOwnFiles(std::span<const TImgEntry> entries,
                                         const std::string& projectPath) {
    std::vector<std::string> files;
    files.reserve(entries.size() + 1);
    for (const TImgEntry& entry : entries) {
        files.push_back(entry.file);
    }
    if (!projectPath.empty()) {
        files.push_back(projectPath);
    }
    return files;
}

OutputPolicy::OutputPolicy(OverwriteMode mode, Frontend& frontend,
                           const std::vector<std::string>& protectedPaths, OwnedFiles owned)
    : m_mode(mode), m_frontend(frontend), m_owned(std::move(owned)) {
    for (const std::string& path : protectedPaths) {
        if (path.empty()) {
            continue;
        }
        m_protectedKeys.insert(locationKey(path));
        if (std::string target = targetKey(path); !target.empty()) {
            m_protectedKeys.insert(std::move(target));
        }
    }
}

bool OutputPolicy::isProtected(const std::string& path) const {
    if (m_protectedKeys.empty()) {
        return false;
    }
    if (m_protectedKeys.count(locationKey(path)) > 0) {
        return true;
    }
    const std::string target = targetKey(path);
    return !target.empty() && m_protectedKeys.count(target) > 0;
}

void OutputPolicy::checkFolderMayBePrepared(const std::string& folder) const {
    if (isSymbolicLink(folder)) {
        throw linkRefusal(folder);
    }
    if (m_mode != OverwriteMode::Overwrite) {
        return;
    }
    const std::vector<std::string> homes = homeFolders();
    const char* what = nullptr;
    if (sameFolder(folder, "/")) {
        what = "the root folder";
    } else if (std::any_of(homes.begin(), homes.end(),
                           [&](const std::string& home) { return sameFolder(folder, home); })) {
        what = "your home folder";
    }
    if (what != nullptr) {
        throw ProjectError("Refusing to build into " + folder + ": it is " + what +
                           ", and \"Always overwrite\" deletes the gallery's files in the folder "
                           "it builds into. Choose a folder of its own for the gallery.");
    }
}

void OutputPolicy::checkFoldersMayBePrepared(const OutputFolders& folders) const {
    checkFolderMayBePrepared(folders.root);
    for (const std::string* folder : {&folders.thumbs, &folders.pictures, &folders.pages}) {
        checkFolderMayBePrepared(*folder);
        // A link part way down would take the folder below it elsewhere.
        if (const std::optional<std::string> link = firstLinkBelow(folders.root, *folder)) {
            throw linkRefusal(*link);
        }
    }
}

void OutputPolicy::prepareFolder(const std::string& folder) const {
    checkFolderMayBePrepared(folder);
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        fs::create_directory(folder, error);
        return;
    }
    removeFiles(filesPicked(folder, [this](const fs::path& path) {
        return isAbandonedTemporaryFile(path.filename().string()) && !isProtected(path.string());
    }));
}

void OutputPolicy::removeLeftovers(const OutputFolders& folders) const {
    if (m_mode != OverwriteMode::Overwrite) {
        return;
    }
    std::vector<std::string> visited;
    std::vector<fs::path> pages;
    std::vector<fs::path> others;
    for (const std::string* folder :
         {&folders.root, &folders.thumbs, &folders.pictures, &folders.pages}) {
        // Folders may coincide (picture pages beside the index pages): each is swept once.
        if (std::any_of(visited.begin(), visited.end(),
                        [&](const std::string& seen) { return sameFolder(seen, *folder); })) {
            continue;
        }
        visited.push_back(*folder);
        // The folders were checked when the build began; a link put in one's place since
        // must not lead the deletions elsewhere.
        checkFolderMayBePrepared(*folder);
        for (fs::path& path : filesPicked(*folder, [&](const fs::path& path) {
                 return m_owned.owns(*folder, path.filename().string()) &&
                        m_outputKeys.count(locationKey(path)) == 0 && !isProtected(path.string());
             })) {
            (m_owned.isPage(*folder, path.filename().string()) ? pages : others)
                .push_back(std::move(path));
        }
    }
    // Pages go first and together: a build stopped part way through leaves no page behind
    // whose pictures, buttons or style files are already gone.
    removeFiles(pages);
    removeFiles(others);
}

void OutputPolicy::noteOutput(const std::string& path) const {
    m_outputKeys.insert(locationKey(path));
}

void OutputPolicy::checkNotProtected(const std::string& path) const {
    if (isProtected(path)) {
        throw ProjectError("Cannot write " + path + ": it is one of the project's own files.");
    }
    noteOutput(path);
}

bool OutputPolicy::mayWrite(const std::string& path) const {
    checkNotProtected(path);
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(path, error));
    switch (m_mode) {
    case OverwriteMode::Ask:
        return !exists || m_frontend.overwriteQuestion("Overwrite existing file: " + path);
    case OverwriteMode::AddOnly:
        return !exists;
    case OverwriteMode::Overwrite:
        return true;
    }
    return false;
}

} // namespace vellumar
