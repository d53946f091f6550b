#pragma once

#include <string>

#include "html/page_context.h"

namespace vellumar {

// Writes the page of picture `picture` (of `pictureCount`) into the picture-page folder, with
// its background picture beside it, as the overwrite policy allows.
void GenPicPage(const PageContext& context, int picture, int pictureCount,
                const std::string& folder);

} // namespace vellumar
