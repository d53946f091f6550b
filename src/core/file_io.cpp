#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "imaging/atomic_file.h"
#include "project_error.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

constexpr std::size_t kCopyChunk = 256 * 1024;

// Closes a file descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor() {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

} // namespace

std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw ProjectError("Cannot open file " + path + ": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes;
    std::size_t filled = 0;
    while (filled < limit) {
        // Grow geometrically so a large file is read in a few calls.
        bytes.resize(std::min(limit, std::max<std::size_t>(filled * 2, kFirstChunk)));
        const std::size_t got =
            std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
        filled += got;
        if (filled < bytes.size()) {
            if (std::ferror(file.get())) {
                throw ProjectError("Cannot read file " + path + ": " + std::strerror(errno));
            }
            break;
        }
    }
    bytes.resize(filled);
    return bytes;
}

std::string readTextFile(const std::string& path, std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ProjectError("Cannot read file " + path + ": " + std::strerror(errno));
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) {
        throw ProjectError("Cannot read file " + path + ": " + error.message());
    }
    if (size > maxBytes) {
        throw ProjectError("Cannot read file " + path + ": it is larger than " +
                           std::to_string(maxBytes) + " bytes.");
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
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
    const auto failure = [&](std::string_view reason) {
        return "Cannot copy " + source + " to " + destination + ": " + std::string(reason);
    };
    const auto systemFailure = [&](std::string_view, int code) {
        return failure(std::strerror(code));
    };
    // Non-blocking, so that a pipe named like the source is refused instead of waited on.
    const Descriptor input(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (input.get() < 0 || ::fstat(input.get(), &status) != 0) {
        throw ProjectError(systemFailure({}, errno));
    }
    if (!S_ISREG(status.st_mode)) {
        throw ProjectError(failure("not a regular file"));
    }
    AtomicFileWriter output(destination, systemFailure);
    std::vector<std::uint8_t> chunk(kCopyChunk);
    for (;;) {
        const ssize_t got = ::read(input.get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throw ProjectError(systemFailure({}, errno));
        }
        if (got == 0) {
            break;
        }
        output.write(std::span(chunk.data(), static_cast<std::size_t>(got)));
    }
    output.commit();
}

} // namespace vellumar
