#include "page_folder_links.h"

#include "model/output_name_check.h"

namespace vellumar {

PageFolderLinks pageFolderLinks(std::string_view pageSubName) {
    checkPageFolderName(pageSubName);
    PageFolderLinks links;
    std::size_t start = 0;
    while (start <= pageSubName.size()) {
        std::size_t end = pageSubName.find('/', start);
        if (end == std::string_view::npos) {
            end = pageSubName.size();
        }
        const std::string_view part = pageSubName.substr(start, end - start);
        if (!part.empty() && part != ".") {
            links.toPages += std::string(part) + "/";
            links.toRoot += "../";
        }
        start = end + 1;
    }
    return links;
}

} // namespace vellumar
