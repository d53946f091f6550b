#include "output_folders.h"

#include "model/gallery_file_names.h"
#include "path_text.h"
#include "text_util.h"

namespace vellumar {

namespace {

std::string subFolder(const std::string& root, std::string_view name) {
    return root + std::string(name) + "/";
}

} // namespace

std::string destinationFolder(const GallerySettings& settings) {
    return withTrailingSeparator(trimBlanks(settings.DestFolder));
}

OutputFolders outputFoldersOf(const GallerySettings& settings) {
    const std::string root = destinationFolder(settings);
    return {root, subFolder(root, kThumbnailFolder), subFolder(root, kLargePictureFolder),
            subFolder(root, settings.PageSub.name)};
}

OutputFolders previewFolders(const std::string& previewRoot) {
    const std::string root = withTrailingSeparator(previewRoot);
    return {root, subFolder(root, kThumbnailFolder), subFolder(root, kLargePictureFolder),
            subFolder(root, kPicturePageFolder)};
}

} // namespace vellumar
