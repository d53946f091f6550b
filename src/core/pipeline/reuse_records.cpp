#include "reuse_records.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

#include "atomic_file.h"
#include "file_io.h"
#include "pipeline/hashed_name.h"
#include "project_error.h"

namespace vellumar {

namespace {

constexpr std::string_view kFormat = "vellumar reuse record 1";
// Far above any record; a larger file of that name is not one.
constexpr std::size_t kMaxRecordBytes = 64 * 1024;
// A record is written in well under a second. A temporary file this old is no live write,
// even when its process id seems to run: ids are reused, and a build in another process
// namespace sharing this cache names ids that mean nothing here.
constexpr auto kAbandonedAfter = std::chrono::minutes(10);

// The written file as the file system knows it; empty when it is not a plain file.
std::string writtenIdentity(const std::string& path) {
    struct stat file {};
    if (::lstat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode)) {
        return {};
    }
    return std::to_string(file.st_dev) + ":" + std::to_string(file.st_ino) + " " +
           std::to_string(file.st_size) + " " + std::to_string(file.st_mtim.tv_sec) + "." +
           std::to_string(file.st_mtim.tv_nsec);
}

// Fields are written with their length first, so any text, line ends included, comes back
// exactly and a cut-off record never parses.
void appendField(std::string& text, std::string_view field) {
    text += std::to_string(field.size());
    text += ':';
    text += field;
    text += '\n';
}

std::optional<std::vector<std::string>> parseFields(std::string_view text) {
    std::vector<std::string> fields;
    while (!text.empty()) {
        const std::size_t colon = text.find(':');
        if (colon == std::string_view::npos || colon == 0 || colon > 9) {
            return std::nullopt;
        }
        std::size_t length = 0;
        for (const char digit : text.substr(0, colon)) {
            if (digit < '0' || digit > '9') {
                return std::nullopt;
            }
            length = length * 10 + static_cast<std::size_t>(digit - '0');
        }
        text.remove_prefix(colon + 1);
        if (length >= text.size() || text[length] != '\n') {
            return std::nullopt;
        }
        fields.emplace_back(text.substr(0, length));
        text.remove_prefix(length + 1);
    }
    return fields;
}

std::optional<int> positive(const std::string& text) {
    int value = 0;
    if (text.empty() || text.size() > 9 || std::sscanf(text.c_str(), "%d", &value) != 1 ||
        value < 1 || std::to_string(value) != text) {
        return std::nullopt;
    }
    return value;
}

// Outputs are known by their full path: a gallery named relative to one folder is not that
// of another.
std::string fullPathOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

} // namespace

ReuseRecords::ReuseRecords(std::string folder, bool lookUp)
    : m_folder(std::move(folder)), m_lookUp(lookUp) {}

std::string ReuseRecords::recordFileOf(const std::string& path) const {
    return m_folder + hashedFileName(fullPathOf(path), ".rec");
}

void ReuseRecords::removeAbandonedWrites() const {
    namespace fs = std::filesystem;
    // Several builds, of this folder or others, share the store. A temporary file whose
    // writer is gone can only be a write that never finished; one of a running writer goes
    // only when it is too old to be a write still under way. Should that writer be alive
    // after all (stopped for a long while), its record is merely given up when it renames.
    const auto oldest = fs::file_time_type::clock::now() - kAbandonedAfter;
    std::error_code error;
    std::vector<fs::path> doomed;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() < 5 || !name.starts_with('.') || !name.ends_with(".tmp")) {
            continue;
        }
        std::error_code statusError;
        const fs::file_status status = it->symlink_status(statusError);
        if (statusError || !fs::is_regular_file(status)) {
            continue;
        }
        const fs::file_time_type modified = it->last_write_time(statusError);
        if (isAbandonedTemporaryFile(name) || (!statusError && modified < oldest)) {
            doomed.push_back(it->path());
        }
    }
    for (const fs::path& path : doomed) {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}

std::optional<PictureSize> ReuseRecords::find(const std::string& path,
                                              const std::string& fingerprint) const {
    if (!m_lookUp) {
        return std::nullopt;
    }
    std::optional<std::vector<std::string>> fields;
    try {
        const std::vector<std::uint8_t> bytes = readFileBytes(recordFileOf(path), kMaxRecordBytes);
        fields = parseFields({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    } catch (const ProjectError&) {
        return std::nullopt;
    }
    if (!fields || fields->size() != 6 || (*fields)[0] != kFormat ||
        (*fields)[1] != fullPathOf(path) || (*fields)[2] != fingerprint) {
        return std::nullopt;
    }
    const std::string identity = writtenIdentity(path);
    const std::optional<int> width = positive((*fields)[4]);
    const std::optional<int> height = positive((*fields)[5]);
    if (identity.empty() || identity != (*fields)[3] || !width || !height) {
        return std::nullopt;
    }
    return PictureSize{*width, *height};
}

void ReuseRecords::record(const std::string& path, const std::string& fingerprint,
                          PictureSize size) const {
    const std::string identity = writtenIdentity(path);
    if (identity.empty()) {
        return;
    }
    const std::string fullPath = fullPathOf(path);
    std::string text;
    for (const std::string_view field :
         {kFormat, std::string_view(fullPath), std::string_view(fingerprint),
          std::string_view(identity)}) {
        appendField(text, field);
    }
    appendField(text, std::to_string(size.width));
    appendField(text, std::to_string(size.height));
    try {
        std::error_code error;
        // A store spoilt into a plain file (by hand, or by a full disk) is made again. Only
        // then is anything removed: another build may be making the folder at this moment.
        if (!std::filesystem::create_directories(m_folder, error) && error) {
            // The folder is named with a trailing "/", which names no plain file: strip it.
            const std::filesystem::path folder = std::filesystem::path(m_folder).lexically_normal();
            std::filesystem::remove(folder.has_filename() ? folder : folder.parent_path(), error);
            std::filesystem::create_directories(m_folder, error);
        }
        writeFileAtomically(recordFileOf(path),
                            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    } catch (const ProjectError&) {
        // Only the next build's speed depends on it.
    }
}

} // namespace vellumar
