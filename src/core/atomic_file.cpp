#include "atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project_error.h"

namespace vellumar {

namespace {

constexpr std::string_view kTemporaryStart = ".";
constexpr std::string_view kTemporaryEnd = ".tmp";

bool isDigits(std::string_view text) {
    return !text.empty() && text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process id in a name made by temporaryNameFor; nothing for any other name.
std::optional<pid_t> writerOfTemporaryName(std::string_view name) {
    if (!name.starts_with(kTemporaryStart) || !name.ends_with(kTemporaryEnd)) {
        return std::nullopt;
    }
    name.remove_suffix(kTemporaryEnd.size());
    const std::size_t dot = name.rfind('.');
    const std::size_t dash = name.rfind('-');
    if (dot == std::string_view::npos || dot <= kTemporaryStart.size() ||
        dash == std::string_view::npos || dash < dot) {
        return std::nullopt;
    }
    const std::string_view pid = name.substr(dot + 1, dash - dot - 1);
    if (!isDigits(pid) || !isDigits(name.substr(dash + 1))) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(std::string(pid)));
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
    return path.substr(0, nameStart) + std::string(kTemporaryStart) + path.substr(nameStart) + "." +
           std::to_string(::getpid()) + "-" + std::to_string(attempt) + std::string(kTemporaryEnd);
}

AtomicFileWriter::AtomicFileWriter(std::string path, FailureText failureText)
    : m_path(std::move(path)), m_failureText(std::move(failureText)) {
    // Mode 0666 lets the umask decide, as for any file the program creates.
    for (int attempt = 0; m_descriptor < 0; ++attempt) {
        m_temporaryPath = temporaryNameFor(m_path, attempt);
        m_descriptor =
            ::open(m_temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_descriptor < 0 && (errno != EEXIST || attempt == 100)) {
            fail("create", errno);
        }
    }
    // A file that is replaced keeps its permissions, as it would when written over; a link
    // in its place is replaced by the file, so the link's target tells nothing.
    struct stat old {};
    if (::lstat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(m_descriptor, old.st_mode & 07777);
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        ::unlink(m_temporaryPath.c_str());
    }
}

void AtomicFileWriter::fail(std::string_view action, int error) const {
    if (m_failureText) {
        throw ProjectError(m_failureText(action, error));
    }
    throw ProjectError("Cannot " + std::string(action) + " file \"" + m_path + "\". " +
                       std::strerror(error));
}

void AtomicFileWriter::write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("write", errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

void AtomicFileWriter::sync() {
    if (::fsync(m_descriptor) != 0) {
        fail("write", errno);
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
        fail("write", error);
    }
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        ::unlink(m_temporaryPath.c_str());
        fail("create", error);
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

bool isAbandonedTemporaryFile(std::string_view fileName) {
    const std::optional<pid_t> writer = writerOfTemporaryName(fileName);
    // A process that still runs may yet commit its file; one of another user (EPERM) too.
    return writer && *writer > 0 && ::kill(*writer, 0) == -1 && errno == ESRCH;
}

} // namespace vellumar
