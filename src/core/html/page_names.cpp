#include "page_names.h"

namespace vellumar {

std::string indexPageFileName(const GallerySettings& settings, int page) {
    return page == 1 ? settings.IdxFileName : "index" + std::to_string(page) + ".htm";
}

std::string picturePageFileName(int picture) {
    return "page" + std::to_string(picture) + ".htm";
}

} // namespace vellumar
