#include "folder_containment.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vellumar {

namespace fs = std::filesystem;

namespace {

fs::path resolved(const std::string& path) {
    std::error_code error;
    fs::path result = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error) {
        return {};
    }
    // "folder/" and "folder" are the same place.
    if (!result.has_filename() && result.has_parent_path() && result != result.root_path()) {
        result = result.parent_path();
    }
    return result;
}

} // namespace

bool liesInside(const std::string& path, const std::string& folder) {
    const fs::path inner = resolved(path);
    const fs::path outer = resolved(folder);
    if (inner.empty() || outer.empty()) {
        return false;
    }
    const auto innerEnd = inner.end();
    const auto [stop, rest] = std::mismatch(outer.begin(), outer.end(), inner.begin(), innerEnd);
    return stop == outer.end() && rest != innerEnd;
}

} // namespace vellumar
