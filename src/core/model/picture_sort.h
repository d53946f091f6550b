#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/picture_list.h"
#include "readers/format_registry.h"
#include "readers/picture_metadata.h"

namespace vellumar {

enum class SortKey { Name, Date, Size, Type, DateTaken };
enum class SortDirection { Ascending, Descending };

struct SortChoice {
    const char* item; // the text of the "Sort by" list
    SortKey key;
    SortDirection direction;
};

inline constexpr std::array<SortChoice, 10> kSortChoices = {{
    {"Name  ascending", SortKey::Name, SortDirection::Ascending},
    {"Name descending", SortKey::Name, SortDirection::Descending},
    {"Date ascending", SortKey::Date, SortDirection::Ascending},
    {"Date descending", SortKey::Date, SortDirection::Descending},
    {"Size ascending", SortKey::Size, SortDirection::Ascending},
    {"Size descending", SortKey::Size, SortDirection::Descending},
    {"Type ascending", SortKey::Type, SortDirection::Ascending},
    {"Type descending", SortKey::Type, SortDirection::Descending},
    {"Date taken ascending", SortKey::DateTaken, SortDirection::Ascending},
    {"Date taken descending", SortKey::DateTaken, SortDirection::Descending},
}};

// The file's last change in local time packed as date (high 16 bits) and time (low 16 bits,
// two-second steps), read as a signed number; -1 for a missing file or a time the packing
// cannot hold (before 1980 or after 2107).
std::int32_t packedModificationTime(const std::string& path);

// When a picture was taken: its EXIF DateTimeOriginal, else its EXIF DateTime, else its
// file's last change in local time; nothing for a file that cannot be looked at.
std::optional<DateTaken> dateTakenOf(const std::string& path,
                                     const PictureFormatRegistry& registry);

// Sorts the pictures by a key read from their files now, then rewrites every grid row. The
// sort is a selection sort in which a later entry with an equal key wins, so entries with
// equal keys do not keep their order. A file whose size cannot be read fails the sort
// before anything moves.
void sortPictures(PictureList& list, SortKey key, SortDirection direction,
                  const PictureFormatRegistry& registry);

} // namespace vellumar
