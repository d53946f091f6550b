#include "page_folder_links.h"

#include "project_error.h"

namespace vellumar {

namespace {

ProjectError outsideDestination(std::string_view pageSubName) {
    return ProjectError("The picture page folder \"" + std::string(pageSubName) +
                        "\" must be a folder name inside the destination folder.");
}

} // namespace

PageFolderLinks pageFolderLinks(std::string_view pageSubName) {
    if (!pageSubName.empty() && pageSubName.front() == '/') {
        throw outsideDestination(pageSubName);
    }
    PageFolderLinks links;
    std::size_t start = 0;
    while (start <= pageSubName.size()) {
        std::size_t end = pageSubName.find('/', start);
        if (end == std::string_view::npos) {
            end = pageSubName.size();
        }
        const std::string_view part = pageSubName.substr(start, end - start);
        if (part == "..") {
            throw outsideDestination(pageSubName);
        }
        if (!part.empty() && part != ".") {
            links.toPages += std::string(part) + "/";
            links.toRoot += "../";
        }
        start = end + 1;
    }
    return links;
}

} // namespace vellumar
