#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace vellumar::cli {

// What a finished build did, as its summary line tells it.
struct BuildSummary {
    std::size_t pictures = 0;
    std::size_t decoded = 0; // made anew; the rest were taken from earlier builds or skipped
    std::size_t skipped = 0;
    std::uintmax_t galleryBytes = 0;
    std::chrono::steady_clock::duration time{};
};

// "60 pictures (12 made, 47 reused, 1 skipped) in 3.4 s; the gallery in /srv/www takes
// 14.2 MB".
std::string summaryText(const BuildSummary& summary, const std::string& folder);

// The bytes of every file in the folder and below it: what publishing the gallery uploads.
std::uintmax_t folderBytes(const std::string& folder);

// "812 bytes", "41.3 kB", "14.2 MB", "1.3 GB": decimal units, as the memory limit counts.
std::string byteSizeText(std::uintmax_t bytes);

} // namespace vellumar::cli
