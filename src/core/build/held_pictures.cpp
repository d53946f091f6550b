#include "held_pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "file_io.h"
#include "imaging/atomic_file.h"
#include "project_error.h"

namespace vellumar {

namespace {

[[noreturn]] void failToWrite(const std::string& path, int error) {
    throw ProjectError("Cannot write file \"" + path + "\". " + std::strerror(error));
}

std::string spill(const std::string& folder, std::size_t index,
                  const std::vector<std::uint8_t>& bytes) {
    const std::string name = folder + "held" + std::to_string(index + 1) + ".jpg";
    for (int attempt = 0;; ++attempt) {
        const std::string path = temporaryNameFor(name, attempt);
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST && attempt < 100) {
                continue;
            }
            failToWrite(path, errno);
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::write(descriptor, bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written < 0) {
                const int error = errno;
                ::close(descriptor);
                ::unlink(path.c_str());
                failToWrite(path, error);
            }
            done += static_cast<std::size_t>(written);
        }
        if (::close(descriptor) != 0) {
            const int error = errno;
            ::unlink(path.c_str());
            failToWrite(path, error);
        }
        return path;
    }
}

// A file that is replaced keeps its permissions, as it would when written over.
void keepModeOf(const std::string& path, const std::string& replacement) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::chmod(replacement.c_str(), old.st_mode & 07777);
    }
}

} // namespace

HeldPictures::HeldPictures(std::string spillFolder, std::size_t memoryBudget)
    : m_spillFolder(std::move(spillFolder)), m_memoryBudget(memoryBudget) {}

HeldPictures::~HeldPictures() {
    for (const Held& held : m_held) {
        if (!held.spillPath.empty()) {
            ::unlink(held.spillPath.c_str());
        }
    }
}

HeldPictures::Held& HeldPictures::slot(std::size_t index) {
    if (index >= m_held.size()) {
        m_held.resize(index + 1);
    }
    return m_held[index];
}

void HeldPictures::hold(std::size_t index, std::vector<std::uint8_t> bytes) {
    Held& held = slot(index);
    if (m_inMemory + bytes.size() <= m_memoryBudget) {
        m_inMemory += bytes.size();
        held.bytes = std::move(bytes);
    } else {
        held.spillPath = spill(m_spillFolder, index, bytes);
    }
}

void HeldPictures::writeTo(std::size_t index, const std::string& path) {
    Held& held = slot(index);
    if (held.spillPath.empty()) {
        writeFileAtomically(path, held.bytes);
    } else {
        keepModeOf(path, held.spillPath);
        if (std::rename(held.spillPath.c_str(), path.c_str()) != 0) {
            // Another file system (a folder mounted there): copy, still complete or not at all.
            writeFileAtomically(path, readFileBytes(held.spillPath));
        }
    }
    drop(index);
}

void HeldPictures::drop(std::size_t index) {
    Held& held = slot(index);
    m_inMemory -= held.bytes.size();
    held.bytes = {};
    if (!held.spillPath.empty()) {
        ::unlink(held.spillPath.c_str());
        held.spillPath.clear();
    }
}

} // namespace vellumar
