#include "ghostscript_renderer.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "project_error.h"
#include "readers/pnm_reader.h"

extern char** environ;

namespace vellumar {

namespace {

namespace fs = std::filesystem;

// Long enough for any reasonable EPS, short enough that a looping program does not hang
// the build.
constexpr auto kLongestRun = std::chrono::seconds(60);

std::optional<fs::path> findGhostscript() {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const fs::path candidate = fs::path(folders.substr(start, end - start)) / "gs";
        if (end > start && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

// A scratch folder that is removed with everything in it when it goes out of scope.
class ScratchFolder {
public:
    ScratchFolder() {
        // mkdtemp replaces the six trailing X with a unique name.
        std::string pattern =
            (fs::temp_directory_path() / ("vellumar-eps-" + std::string(6, 'X'))).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw ProjectError("cannot create a temporary folder to draw the PostScript");
        }
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void writeFile(const fs::path& path, Bytes bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw ProjectError("cannot write a temporary file to draw the PostScript");
    }
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ProjectError("Ghostscript drew no picture from the PostScript");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the program with the arguments, its output thrown away; returns its exit status.
int run(const fs::path& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    std::vector<std::string> storage{program.string()};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    for (std::string& argument : storage) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw ProjectError("Ghostscript could not be started");
    }
    const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            throw ProjectError("Ghostscript took too long to draw the PostScript");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::optional<Bitmap> renderWithGhostscript(Bytes postscript) {
    const auto ghostscript = findGhostscript();
    if (!ghostscript) {
        return std::nullopt;
    }
    const ScratchFolder scratch;
    const fs::path input = scratch.path() / "picture.eps";
    const fs::path output = scratch.path() / "picture.ppm";
    writeFile(input, postscript);
    const int status =
        run(*ghostscript, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=ppmraw", "-r72",
                           "-dEPSCrop", "-sOutputFile=" + output.string(), input.string()});
    if (status != 0) {
        throw ProjectError("Ghostscript could not draw the PostScript (exit status " +
                           std::to_string(status) + ")");
    }
    const std::vector<std::uint8_t> pixmap = readFile(output);
    const PictureSource source{pixmap, output.string()};
    return PnmReader().decode(source);
}

} // namespace vellumar
