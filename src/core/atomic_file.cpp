#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project_error.h"

namespace vellumar {

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is durable only once the folder's entry list is on disk too. Failing here
// changes nothing the user could act on, so it is not reported.
void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes and flushes the temporary file; keeps the permissions of the file it replaces.
bool writeTemporary(const std::string& temporary, const std::string& path, std::string_view bytes) {
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    bool ok = true;
    if (::stat(path.c_str(), &old) == 0) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(fd, bytes) && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

void replaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".saving";
    if (!writeTemporary(temporary, path, bytes) ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw ProjectError("Unable to write to " + path);
    }
    syncFolderOf(path);
}

} // namespace vellumar
