// A disk that fills up, for the command-line tests: loaded with LD_PRELOAD, it lets the
// process write VELLUMAR_TEST_DISK_BYTES bytes into files below the folder
// VELLUMAR_TEST_DISK_FOLDER, and fails every further write there with ENOSPC, after writing
// the part that still fits, as a real disk does. Writes elsewhere (the terminal, the cache)
// go through untouched.
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>
#include <limits.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using WriteFunction = ssize_t (*)(int, const void*, size_t);

WriteFunction realWrite() {
    static const auto function = reinterpret_cast<WriteFunction>(::dlsym(RTLD_NEXT, "write"));
    return function;
}

long long configuredBytes() {
    const char* text = std::getenv("VELLUMAR_TEST_DISK_BYTES");
    return text == nullptr ? -1 : std::atoll(text);
}

std::atomic<long long>& bytesLeft() {
    static std::atomic<long long> left(configuredBytes());
    return left;
}

bool isOnTheFullDisk(int descriptor) {
    const char* folder = std::getenv("VELLUMAR_TEST_DISK_FOLDER");
    struct stat file {};
    if (folder == nullptr || ::fstat(descriptor, &file) != 0 || !S_ISREG(file.st_mode)) {
        return false;
    }
    char path[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    const ssize_t length = ::readlink(link.c_str(), path, sizeof path - 1);
    return length > 0 && std::string(path, static_cast<std::size_t>(length)).starts_with(folder);
}

// How many of count bytes still fit, taken from what is left.
std::size_t take(std::size_t count) {
    std::atomic<long long>& left = bytesLeft();
    long long now = left.load();
    long long granted = 0;
    do {
        granted = now < static_cast<long long>(count) ? now : static_cast<long long>(count);
    } while (granted > 0 && !left.compare_exchange_weak(now, now - granted));
    return granted > 0 ? static_cast<std::size_t>(granted) : 0;
}

} // namespace

extern "C" ssize_t write(int descriptor, const void* bytes, size_t count) {
    if (count == 0 || bytesLeft().load() < 0 || !isOnTheFullDisk(descriptor)) {
        return realWrite()(descriptor, bytes, count);
    }
    const std::size_t fits = take(count);
    if (fits == 0) {
        errno = ENOSPC;
        return -1;
    }
    return realWrite()(descriptor, bytes, fits);
}
