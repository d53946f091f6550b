#include "held_pictures.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "atomic_file.h"
#include "project_error.h"

namespace vellumar {

namespace {

[[noreturn]] void failToWrite(const std::string& target, int error) {
    throw ProjectError("Cannot write file \"" + target + "\". " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// A file that is replaced keeps its permissions, as it would when written over.
void keepModeOf(const std::string& path, const std::string& replacement) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::chmod(replacement.c_str(), old.st_mode & 07777);
    }
}

} // namespace

HeldPictures::HeldPictures(std::size_t memoryBudget) : m_memoryBudget(memoryBudget) {}

HeldPictures::~HeldPictures() {
    for (const auto& [target, held] : m_held) {
        if (!held.spillPath.empty()) {
            ::unlink(held.spillPath.c_str());
        }
    }
    if (!m_madeFolder.empty()) {
        ::rmdir(m_madeFolder.c_str()); // fails, as it should, once a picture is in it
    }
}

std::string HeldPictures::spill(const std::string& target, const std::vector<std::uint8_t>& bytes) {
    // The large-picture loop makes the folder when it starts; a spill may come first.
    const std::string folder = folderOf(target);
    if (m_madeFolder.empty() && ::mkdir(folder.c_str(), 0777) == 0) {
        m_madeFolder = folder;
    }
    for (int attempt = 0;; ++attempt) {
        const std::string path = temporaryNameFor(target, attempt);
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0) {
            if (errno == EEXIST && attempt < 100) {
                continue;
            }
            failToWrite(target, errno);
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
                failToWrite(target, error);
            }
            done += static_cast<std::size_t>(written);
        }
        if (::close(descriptor) != 0) {
            const int error = errno;
            ::unlink(path.c_str());
            failToWrite(target, error);
        }
        return path;
    }
}

void HeldPictures::hold(const std::string& target, std::vector<std::uint8_t> bytes) {
    drop(target);
    Held& held = m_held[target];
    if (m_inMemory + bytes.size() <= m_memoryBudget) {
        m_inMemory += bytes.size();
        held.bytes = std::move(bytes);
        return;
    }
    try {
        held.spillPath = spill(target, bytes);
    } catch (const ProjectError&) {
        held.failure = std::current_exception();
    }
}

void HeldPictures::write(const std::string& target) {
    const auto found = m_held.find(target);
    if (found == m_held.end()) {
        return;
    }
    Held& held = found->second;
    if (held.failure) {
        std::rethrow_exception(held.failure);
    }
    if (held.spillPath.empty()) {
        writeFileAtomically(target, held.bytes);
    } else {
        keepModeOf(target, held.spillPath);
        if (std::rename(held.spillPath.c_str(), target.c_str()) != 0) {
            const int error = errno;
            throw ProjectError("Cannot create file \"" + target + "\". " + std::strerror(error));
        }
        held.spillPath.clear(); // it is the target now
    }
    drop(target);
}

void HeldPictures::drop(const std::string& target) {
    const auto found = m_held.find(target);
    if (found == m_held.end()) {
        return;
    }
    m_inMemory -= found->second.bytes.size();
    if (!found->second.spillPath.empty()) {
        ::unlink(found->second.spillPath.c_str());
    }
    m_held.erase(found);
}

} // namespace vellumar
