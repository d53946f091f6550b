#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project_error.h"

namespace vellumar {

namespace {

[[noreturn]] void fail(const char* action, const std::string& path, int error) {
    throw ProjectError(std::string("Cannot ") + action + " file \"" + path + "\". " +
                       std::strerror(error));
}

// The rename reaches the disk with the folder's entry list. A failure here changes nothing
// the user could act on, so it is not reported.
void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

std::string temporaryNameFor(const std::string& path, int attempt) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + "." +
           std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(std::move(path)) {
    // Mode 0666 lets the umask decide, as for any file the program creates.
    for (int attempt = 0; m_descriptor < 0; ++attempt) {
        m_temporaryPath = temporaryNameFor(m_path, attempt);
        m_descriptor =
            ::open(m_temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_descriptor < 0 && (errno != EEXIST || attempt == 100)) {
            fail("create", m_path, errno);
        }
    }
    // A file that is replaced keeps its permissions, as it would when written over.
    struct stat old {};
    if (::stat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(m_descriptor, old.st_mode & 07777);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        ::unlink(m_temporaryPath.c_str());
    }
}

void AtomicFileWriter::write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("write", m_path, errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

void AtomicFileWriter::sync() {
    if (::fsync(m_descriptor) != 0) {
        fail("write", m_path, errno);
    }
    m_durable = true;
}

void AtomicFileWriter::commit() {
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    // close() is where a full disk may show on network file systems.
    if (::close(descriptor) != 0) {
        const int error = errno;
        ::unlink(m_temporaryPath.c_str());
        fail("write", m_path, error);
    }
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(m_temporaryPath.c_str());
        fail("create", m_path, error);
    }
    if (m_durable) {
        syncFolderOf(m_path);
    }
}

void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

} // namespace vellumar
