#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <span>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

#include "atomic_file.h"
#include "project_error.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunk = 256 * 1024;

// Closes a file descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    Descriptor(Descriptor&& other) noexcept : m_descriptor(std::exchange(other.m_descriptor, -1)) {}
    ~Descriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;

    int get() const { return m_descriptor; }
    int release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

// Text of a failure from the system's or our own reason.
using FailureText = std::function<std::string(std::string_view reason)>;

// A regular file opened for reading, with its size at the moment of opening. Non-blocking, so
// that a pipe named like a picture or project is refused instead of waited on; anything that
// is not a regular file (a pipe, a device such as /dev/zero) is refused, so every read is
// bounded by the size seen here.
struct OpenedFile {
    Descriptor descriptor;
    std::size_t size;
};

OpenedFile openRegularFile(const std::string& path, const FailureText& failure) {
    Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (descriptor.get() < 0 || ::fstat(descriptor.get(), &status) != 0) {
        throw ProjectError(failure(std::strerror(errno)));
    }
    if (!S_ISREG(status.st_mode)) {
        throw ProjectError(failure("not a regular file"));
    }
    return {std::move(descriptor), static_cast<std::size_t>(status.st_size)};
}

// Reads up to bytes.size() bytes; fewer only where the file ends.
std::size_t readFully(const OpenedFile& file, std::span<std::uint8_t> bytes,
                      const FailureText& failure) {
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got =
            ::read(file.descriptor.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw ProjectError(failure(std::strerror(errno)));
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

FailureText readFailure(const std::string& path) {
    return [path](std::string_view reason) {
        return "Cannot read file " + path + ": " + std::string(reason);
    };
}

} // namespace

ReadOnlyFile::ReadOnlyFile(std::string path) : m_path(std::move(path)) {
    OpenedFile file = openRegularFile(m_path, [&](std::string_view reason) {
        return "Cannot open file " + m_path + ": " + std::string(reason);
    });
    m_size = file.size;
    m_descriptor = file.descriptor.release();
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_descriptor(std::exchange(other.m_descriptor, -1)),
      m_size(other.m_size) {}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
    }
}

std::size_t ReadOnlyFile::readAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset >= m_size) {
        return 0;
    }
    out = out.first(static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), m_size - offset)));
    std::size_t filled = 0;
    while (filled < out.size()) {
        const ssize_t got = ::pread(m_descriptor, out.data() + filled, out.size() - filled,
                                    static_cast<off_t>(offset + filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw ProjectError(readFailure(m_path)(std::strerror(errno)));
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return filled;
}

std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit) {
    const ReadOnlyFile file(path);
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(limit, file.size()));
    bytes.resize(file.readAt(0, bytes));
    return bytes;
}

std::string readTextFile(const std::string& path, std::size_t maxBytes) {
    const FailureText failure = readFailure(path);
    const OpenedFile file = openRegularFile(path, failure);
    if (file.size > maxBytes) {
        throw ProjectError(failure("it is larger than " + std::to_string(maxBytes) + " bytes."));
    }
    std::string text(file.size, '\0');
    text.resize(readFully(
        file, std::span(reinterpret_cast<std::uint8_t*>(text.data()), text.size()), failure));
    return text;
}

void writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    writeFileAtomically(path,
                        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

void copyFileReplacing(const std::string& source, const std::string& destination) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(destination, error)) && sameFile(source, destination)) {
        return;
    }
    const FailureText failure = [&](std::string_view reason) {
        return "Cannot copy " + source + " to " + destination + ": " + std::string(reason);
    };
    const OpenedFile input = openRegularFile(source, failure);
    AtomicFileWriter output(
        destination, [&](std::string_view, int code) { return failure(std::strerror(code)); });
    std::vector<std::uint8_t> chunk(kCopyChunk);
    while (const std::size_t got = readFully(input, chunk, failure)) {
        output.write(std::span(chunk.data(), got));
    }
    output.commit();
}

} // namespace vellumar
