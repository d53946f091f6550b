#include "build_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

#include "pipeline/cache_folder.h"
#include "pipeline/hashed_name.h"
#include "project_error.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

// One lock file per folder, whichever way the folder is spelled.
std::string lockFileOf(const std::string& folder) {
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(folder, error), error);
    return programCacheFolder() + "locks/" + hashedFileName(canonical.string(), ".lock");
}

std::string holderOf(int descriptor) {
    std::string text(512, '\0');
    const ssize_t got = ::pread(descriptor, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text.empty() ? "another build" : text;
}

} // namespace

BuildLock::BuildLock(const std::string& folder, const std::string& what) {
    const std::string path = lockFileOf(folder);
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const std::string holder = holderOf(descriptor);
        ::close(descriptor);
        throw ProjectError("Cannot build into " + folder + ": " + holder +
                           " is writing into it. Wait until it ends, or stop it.");
    }
    const std::string text = what + " (process " + std::to_string(::getpid()) + ")";
    if (::ftruncate(descriptor, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(descriptor, text.data(), text.size(), 0);
    }
    m_descriptor = descriptor;
}

BuildLock::~BuildLock() {
    if (m_descriptor >= 0) {
        // Emptied first, so the file never names a build that has ended.
        [[maybe_unused]] const int truncated = ::ftruncate(m_descriptor, 0);
        ::close(m_descriptor);
    }
}

} // namespace vellumar
