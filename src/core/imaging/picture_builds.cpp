#include "picture_builds.h"

#include <filesystem>

#include "imaging/atomic_file.h"
#include "model/gallery_file_names.h"
#include "model/output_folders.h"
#include "progress_percent.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

enum class Kind { Thumbnail, LargePicture };

// The path is trimmed in the entry itself, as a build records what it read.
RenderRequest requestFor(TImgEntry& entry, const std::optional<PictureBox>& thumbnail,
                         const std::optional<PictureBox>& largePicture) {
    entry.file = trimBlanksAndControls(entry.file);
    RenderRequest request;
    request.path = entry.file;
    request.crop = entry.crop;
    request.rotate = entry.rotate;
    request.thumbnail = thumbnail;
    request.largePicture = !thumbnail;
    request.largePictureBox = largePicture;
    return request;
}

void generate(Kind kind, const PictureBuild& build, std::size_t first, std::size_t last,
              const OutputPolicy& policy, const std::string& folder) {
    Frontend& frontend = build.frontend;
    const bool thumbnails = kind == Kind::Thumbnail;
    frontend.status(thumbnails ? "Initializing thumbnails......"
                               : "Initializing large pictures......");
    // Read once, before the loop: every picture of a build gets the same shape.
    std::optional<PictureBox> box;
    if (thumbnails) {
        box = thumbnailBoxOf(build.settings);
    } else {
        box = largePictureBoxOf(build.settings);
    }
    for (std::size_t i = first; i <= last; ++i) {
        frontend.processEvents();
        TImgEntry& entry = build.entries[i - 1];
        std::string path;
        RenderedPicture picture;
        if (thumbnails) {
            frontend.status("Generating thumbnail file " + std::to_string(i));
            picture = *renderPicture(requestFor(entry, box, std::nullopt)).thumbnail;
            entry.builtThumbWidth = picture.width;
            entry.builtThumbHeight = picture.height;
            path = folder + thumbnailFileName(build.settings, i);
        } else {
            frontend.status("Generating large picture " + std::to_string(i));
            picture = *renderPicture(requestFor(entry, std::nullopt, box)).largePicture;
            entry.builtPicWidth = picture.width;
            entry.builtPicHeight = picture.height;
            path = folder + largePictureFileName(i);
        }
        // Pictures kept at their own size are written afresh whatever the mode.
        const bool alwaysWrite = !thumbnails && !box;
        if (alwaysWrite) {
            policy.checkNotProtected(path);
        }
        if (alwaysWrite || policy.mayWrite(path)) {
            writeFileAtomically(path, picture.jpeg);
        }
        frontend.processEvents();
        frontend.progress(progressPercent(static_cast<long long>(i - first + 1),
                                          static_cast<long long>(last - first + 1)));
    }
    frontend.status("Finish");
    frontend.progress(0);
}

bool buildStep(Kind kind, const PictureBuild& build, const OutputPolicy& policy) {
    const std::string destination = trimBlanks(build.settings.DestFolder);
    if (destination.empty()) {
        build.frontend.notice("Please enter destination folder in Settings first!");
        return false;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(destination, error)) {
        build.frontend.notice("Destination directory " + destination + " does not exists!");
        return false;
    }
    const OutputFolders folders = outputFoldersOf(build.settings);
    const std::string& folder = kind == Kind::Thumbnail ? folders.thumbs : folders.pictures;
    policy.prepareFolder(folder);
    generate(kind, build, 1, build.entries.size(), policy, folder);
    return true;
}

} // namespace

void GenThumb(const PictureBuild& build, std::size_t first, std::size_t last,
              const OutputPolicy& policy, const std::string& folder) {
    generate(Kind::Thumbnail, build, first, last, policy, folder);
}

void GenLargePic(const PictureBuild& build, std::size_t first, std::size_t last,
                 const OutputPolicy& policy, const std::string& folder) {
    generate(Kind::LargePicture, build, first, last, policy, folder);
}

bool buildThumbnails(const PictureBuild& build, const OutputPolicy& policy) {
    return buildStep(Kind::Thumbnail, build, policy);
}

bool buildLargePictures(const PictureBuild& build, const OutputPolicy& policy) {
    return buildStep(Kind::LargePicture, build, policy);
}

} // namespace vellumar
