#include "build_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/gallery_file_names.h"
#include "path_text.h"
#include "project_error.h"

namespace vellumar {

namespace {

// A race with a holder that ends at the same moment costs a round; this many rounds lost in
// a row mean builds that keep starting and ending there.
constexpr int kLockRounds = 8;

std::string holderOf(int descriptor) {
    std::string text(512, '\0');
    const ssize_t got = ::pread(descriptor, text.data(), text.size(), 0);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text.empty() ? "another build" : text;
}

ProjectError busy(const std::string& folder, const std::string& holder) {
    return ProjectError("Cannot build into " + folder + ": " + holder +
                        " is writing into it. Wait until it ends, or stop it.");
}

// Whether the descriptor still is the file named path. A holder that was done removes the
// file, maybe between our open() and our flock(); a lock on a removed file keeps nobody out.
bool isStillAt(int descriptor, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// The lock file, opened for writing when we may; one that another user's crashed build left
// is opened for reading, on which flock() holds all the same. -1 when neither works. A link
// in its place is not followed: the lock belongs to this folder.
int openLockFile(const std::string& path, bool& writable) {
    int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    writable = descriptor >= 0;
    if (descriptor < 0 && errno == EACCES) {
        descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    return descriptor;
}

} // namespace

BuildLock::BuildLock(const std::string& folder, const std::string& what)
    : m_path(withTrailingSeparator(folder) + std::string(kBuildLockFileName)) {
    for (int round = 0; round < kLockRounds; ++round) {
        bool writable = false;
        const int descriptor = openLockFile(m_path, writable);
        if (descriptor < 0) {
            return;
        }
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const bool held = errno == EWOULDBLOCK;
            const std::string holder = held ? holderOf(descriptor) : std::string();
            ::close(descriptor);
            if (held) {
                throw busy(folder, holder);
            }
            return; // a file system without locks
        }
        if (!isStillAt(descriptor, m_path)) {
            ::close(descriptor);
            continue;
        }
        if (writable) {
            // Readable by every user whatever the umask, so that their builds can take the lock.
            ::fchmod(descriptor, 0644);
            const std::string text = what + " (process " + std::to_string(::getpid()) + ")";
            if (::ftruncate(descriptor, 0) == 0) {
                [[maybe_unused]] const ssize_t written =
                    ::pwrite(descriptor, text.data(), text.size(), 0);
            }
        }
        m_descriptor = descriptor;
        return;
    }
    throw busy(folder, "another build");
}

BuildLock::~BuildLock() {
    if (m_descriptor < 0) {
        return;
    }
    // Removed while still held, so that a build that opened it meanwhile sees it gone and
    // starts over on a new file; where it cannot be removed, at least it names no build.
    if (!isStillAt(m_descriptor, m_path) || ::unlink(m_path.c_str()) != 0) {
        [[maybe_unused]] const int truncated = ::ftruncate(m_descriptor, 0);
    }
    ::close(m_descriptor);
}

} // namespace vellumar
