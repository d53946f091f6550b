#include "index_layout.h"

#include <algorithm>

#include "integer_text.h"
#include "project_error.h"

namespace vellumar {

namespace {

int tableSize(const std::string& setting) {
    const int size = toInteger(setting);
    if (size < 1) {
        throw ProjectError("The thumbnail table needs at least one column and one row.");
    }
    return size;
}

} // namespace

IndexPageSpan IndexLayout::span(int page) const {
    const long long first = (page - 1) * picturesPerPage + 1;
    const long long last = std::min<long long>(page * picturesPerPage, pictureCount);
    return {static_cast<int>(first), static_cast<int>(last), page, pageCount};
}

int IndexLayout::pageOf(int picture) const {
    return static_cast<int>((picture - 1) / picturesPerPage + 1);
}

IndexLayout indexLayout(const GallerySettings& settings, std::size_t pictureCount) {
    IndexLayout layout;
    layout.picturesPerPage = static_cast<long long>(tableSize(settings.ThumbTableCol)) *
                             tableSize(settings.ThumbTableRow);
    layout.pictureCount = static_cast<int>(pictureCount);
    const long long count = static_cast<long long>(pictureCount);
    // A gallery without pictures still has its first index page, with an empty table, so
    // that the gallery's address shows the page instead of nothing.
    layout.pageCount = std::max(1, static_cast<int>(count / layout.picturesPerPage +
                                                    (count % layout.picturesPerPage > 0 ? 1 : 0)));
    return layout;
}

} // namespace vellumar
