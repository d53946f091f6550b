#include "build_summary.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vellumar::cli {

namespace fs = std::filesystem;

std::string summaryText(const BuildSummary& summary, const std::string& folder) {
    const std::size_t reused =
        summary.pictures - std::min(summary.pictures, summary.decoded + summary.skipped);
    std::string text =
        std::to_string(summary.pictures) + (summary.pictures == 1 ? " picture (" : " pictures (") +
        std::to_string(summary.decoded) + " made, " + std::to_string(reused) + " reused";
    if (summary.skipped > 0) {
        text += ", " + std::to_string(summary.skipped) + " skipped";
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s",
                  std::chrono::duration<double>(summary.time).count());
    return text + ") in " + seconds + "; the gallery in " + folder + " takes " +
           byteSizeText(summary.galleryBytes);
}

std::uintmax_t folderBytes(const std::string& folder) {
    std::uintmax_t total = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code sizeError;
        if (it->is_regular_file(sizeError)) {
            const std::uintmax_t size = it->file_size(sizeError);
            total += sizeError ? 0 : size;
        }
    }
    return total;
}

std::string byteSizeText(std::uintmax_t bytes) {
    if (bytes < 1000) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    const char* units[] = {"kB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    while (value >= 999.95 && unit + 1 < std::size(units)) {
        value /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

} // namespace vellumar::cli
