#include "picture_sort.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include "model/file_info.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "text_util.h"

namespace vellumar {

namespace {

// One of the two parts is in use, depending on the key; the other stays equal for all.
struct KeyValue {
    std::int64_t number = 0;
    std::string text;

    auto operator<=>(const KeyValue&) const = default;
};

std::int64_t fileSizeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw ProjectError("Cannot open file " + path + ": " + std::strerror(errno));
    }
    return info.st_size;
}

// From the last dot of the file name on, dot included.
std::string dottedExtensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return path.substr(dot);
}

// Digits of a number in the order of the date's parts, so the numbers sort as the dates.
std::int64_t dateNumber(const std::optional<DateTaken>& date) {
    if (!date) {
        return -1;
    }
    std::int64_t number = date->year;
    for (const int part : {date->month, date->day, date->hour, date->minute, date->second}) {
        number = number * 100 + part;
    }
    return number;
}

KeyValue keyOf(const TImgEntry& entry, SortKey key, const PictureFormatRegistry& registry) {
    switch (key) {
    case SortKey::Name:
        return {0, entry.file};
    case SortKey::Date:
        return {packedModificationTime(entry.file), {}};
    case SortKey::Size:
        return {fileSizeOf(entry.file), {}};
    case SortKey::Type:
        return {0, toLowerAscii(dottedExtensionOf(entry.file))};
    case SortKey::DateTaken:
        return {dateNumber(dateTakenOf(entry.file, registry)), {}};
    }
    return {};
}

} // namespace

std::int32_t packedModificationTime(const std::string& path) {
    struct stat info {};
    std::tm local{};
    if (::stat(path.c_str(), &info) != 0 || ::localtime_r(&info.st_mtime, &local) == nullptr) {
        return -1;
    }
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) {
        return -1;
    }
    const std::uint32_t date = static_cast<std::uint32_t>(year - 1980) << 9 |
                               static_cast<std::uint32_t>(local.tm_mon + 1) << 5 |
                               static_cast<std::uint32_t>(local.tm_mday);
    const std::uint32_t time = static_cast<std::uint32_t>(local.tm_hour) << 11 |
                               static_cast<std::uint32_t>(local.tm_min) << 5 |
                               static_cast<std::uint32_t>(local.tm_sec / 2);
    return static_cast<std::int32_t>(date << 16 | time);
}

std::optional<DateTaken> dateTakenOf(const std::string& path,
                                     const PictureFormatRegistry& registry) {
    if (auto taken = readPictureMetadata(path, registry).dateTaken) {
        return taken;
    }
    struct stat info {};
    std::tm local{};
    if (::stat(path.c_str(), &info) != 0 || ::localtime_r(&info.st_mtime, &local) == nullptr) {
        return std::nullopt;
    }
    return DateTaken{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

void sortPictures(PictureList& list, SortKey key, SortDirection direction,
                  const PictureFormatRegistry& registry) {
    // Every key is read once up front, so a file that cannot be read leaves the list as it
    // was instead of half sorted.
    std::vector<KeyValue> keys;
    for (const TImgEntry& entry : list.entries()) {
        keys.push_back(keyOf(entry, key, registry));
    }
    const bool ascending = direction == SortDirection::Ascending;
    const int count = list.count();
    for (int i = 1; i < count; ++i) {
        int chosen = i;
        for (int j = i; j <= count; ++j) {
            const KeyValue& candidate = keys[j - 1];
            const KeyValue& best = keys[chosen - 1];
            if (ascending ? candidate <= best : candidate >= best) {
                chosen = j;
            }
        }
        list.swap(i, chosen);
        std::swap(keys[i - 1], keys[chosen - 1]);
    }
    ReloadFileInfo(list, registry);
}

} // namespace vellumar
