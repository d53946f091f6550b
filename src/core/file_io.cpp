#include "file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "project_error.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFirstChunk = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
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
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw ProjectError("Cannot create file \"" + path + "\". " + std::strerror(errno));
    }
    for (const std::string& line : lines) {
        out << line << "\r\n";
    }
    out.close();
    if (!out) {
        throw ProjectError("Cannot write file \"" + path + "\".");
    }
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return fs::equivalent(a, b, error);
}

void copyFileReplacing(const std::string& source, const std::string& destination) {
    if (sameFile(source, destination)) {
        return;
    }
    std::error_code error;
    fs::copy_file(source, destination, fs::copy_options::overwrite_existing, error);
    if (error) {
        throw ProjectError("Cannot copy " + source + " to " + destination + ": " + error.message());
    }
}

} // namespace vellumar
