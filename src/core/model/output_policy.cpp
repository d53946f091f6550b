#include "output_policy.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "project_error.h"

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
                           const std::vector<std::string>& protectedPaths)
    : m_mode(mode), m_frontend(frontend) {
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
    if (m_mode != OverwriteMode::Overwrite) {
        return;
    }
    const char* home = std::getenv("HOME");
    const char* what = nullptr;
    if (sameFolder(folder, "/")) {
        what = "the root folder";
    } else if (home != nullptr && *home != '\0' && sameFolder(folder, home)) {
        what = "your home folder";
    }
    if (what != nullptr) {
        throw ProjectError("Refusing to build into " + folder + ": it is " + what +
                           ", and \"Always overwrite\" deletes every file in the folder it "
                           "builds into. Choose a folder of its own for the gallery.");
    }
}

void OutputPolicy::prepareFolder(const std::string& folder) const {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        fs::create_directory(folder, error);
        return;
    }
    if (m_mode != OverwriteMode::Overwrite) {
        return;
    }
    checkFolderMayBePrepared(folder);
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        // symlink_status: a link is judged, and later removed, as the link itself.
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (!statusError && !fs::is_directory(status) && !isProtected(it->path().string())) {
            doomed.push_back(it->path());
        }
    }
    for (const fs::path& path : doomed) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}

void OutputPolicy::checkNotProtected(const std::string& path) const {
    if (isProtected(path)) {
        throw ProjectError("Cannot write " + path + ": it is one of the project's own files.");
    }
}

bool OutputPolicy::mayWrite(const std::string& path) const {
    checkNotProtected(path);
    std::error_code error;
    const bool exists = fs::exists(fs::symlink_status(path, error));
    switch (m_mode) {
    case OverwriteMode::Ask:
        return !exists || m_frontend.question("Overwrite existing file: " + path);
    case OverwriteMode::AddOnly:
        return !exists;
    case OverwriteMode::Overwrite:
        return true;
    }
    return false;
}

} // namespace vellumar
