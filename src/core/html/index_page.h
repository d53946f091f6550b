#pragma once

#include <string>

#include "html/page_context.h"

namespace vellumar {

// Which pictures one index page shows, and where it stands among the index pages. Pictures
// are numbered from 1; first > last gives a page without cells.
struct IndexPageSpan {
    int first = 1;
    int last = 0;
    int page = 1;
    int pageCount = 1;
};

// Writes one thumbnail index page into folder, with the background pictures its template
// asks for beside it, as the overwrite policy allows.
void GenIndexPage(const PageContext& context, const IndexPageSpan& span, const std::string& folder);

} // namespace vellumar
