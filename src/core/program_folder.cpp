#include "program_folder.h"

#include <system_error>

#include "path_text.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

bool hasStyles(const fs::path& folder) {
    std::error_code error;
    return !folder.empty() && fs::is_directory(folder / "template", error);
}

} // namespace

std::string locateProgramFolder(const fs::path& currentFolder, const fs::path& executableFolder,
                                const fs::path& sourceDataFolder) {
    fs::path chosen = currentFolder;
    if (!hasStyles(currentFolder)) {
        const fs::path installed = executableFolder / ".." / "share" / "vellumar";
        if (hasStyles(installed)) {
            chosen = installed;
        } else if (hasStyles(sourceDataFolder)) {
            chosen = sourceDataFolder;
        }
    }
    return withTrailingSeparator(chosen.lexically_normal().string());
}

std::string programFolder() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return locateProgramFolder(current, executable.parent_path(), VELLUMAR_SOURCE_DATA_DIR);
}

} // namespace vellumar
