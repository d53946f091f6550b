#pragma once

#include <cstddef>

#include "html/index_page.h"
#include "model/gallery_settings.h"

namespace vellumar {

// How a gallery's pictures spread over its index pages.
struct IndexLayout {
    long long picturesPerPage = 0; // ThumbTableCol * ThumbTableRow
    int pageCount = 0; // at least 1: a gallery without pictures has one empty index page
    int pictureCount = 0;

    // The pictures of index page `page` (from 1); the last page ends at the last picture.
    IndexPageSpan span(int page) const;
    // The index page (from 1) that shows picture `picture` (from 1).
    int pageOf(int picture) const;
};

// Reads the table size from the settings. A size that is not a number, or below 1, fails
// with a ProjectError.
IndexLayout indexLayout(const GallerySettings& settings, std::size_t pictureCount);

} // namespace vellumar
