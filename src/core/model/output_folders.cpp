#include "output_folders.h"

#include "text_util.h"

namespace vellumar {

std::string withTrailingSeparator(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

std::string destinationFolder(const GallerySettings& settings) {
    return withTrailingSeparator(trimBlanks(settings.DestFolder));
}

OutputFolders outputFoldersOf(const GallerySettings& settings) {
    const std::string root = destinationFolder(settings);
    return {root, root + "thumb/", root + "pic/", root + settings.PageSub.name + "/"};
}

OutputFolders previewFolders(const std::string& previewRoot) {
    const std::string root = withTrailingSeparator(previewRoot);
    return {root, root + "thumb/", root + "pic/", root + "picpage/"};
}

} // namespace vellumar
