#include "picture_builds.h"

#include <filesystem>

#include "imaging/atomic_file.h"
#include "imaging/gen_pic.h"
#include "imaging/jpeg_writer.h"
#include "imaging/load_picture.h"
#include "model/integer_text.h"
#include "model/output_folders.h"
#include "progress_percent.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

int positiveSize(const std::string& text, const std::string& what) {
    const int value = toInteger(text);
    if (value < 1) {
        throw ProjectError(what + " must be at least 1 pixel, not " + text + ".");
    }
    return value;
}

int borderWidthOf(bool on, const std::string& width) {
    return on ? toInteger(width) : 0;
}

RenderedPicture finish(const Bitmap& picture) {
    return {picture.width(), picture.height(), encodeJpeg(picture)};
}

enum class Kind { Thumbnail, LargePicture };

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
            picture = renderThumbnail(entry, *box);
            entry.builtThumbWidth = picture.width;
            entry.builtThumbHeight = picture.height;
            path = folder + thumbnailFileName(build.settings, i);
        } else {
            frontend.status("Generating large picture " + std::to_string(i));
            picture = renderLargePicture(entry, box);
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

// An exact box when both sides are on; with one side on, a square of that size in which the
// picture keeps its aspect.
PictureBox boxOf(const Switched<std::string>& width, const Switched<std::string>& height,
                 const std::string& what, bool border, const std::string& borderWidth,
                 Color borderColor) {
    PictureBox box;
    if (width.on && height.on) {
        box.width = positiveSize(width.value, "The " + what + " width");
        box.height = positiveSize(height.value, "The " + what + " height");
    } else {
        const bool byWidth = width.on;
        box.width = box.height = positiveSize(byWidth ? width.value : height.value,
                                              "The " + what + (byWidth ? " width" : " height"));
        box.keepRatio = true;
    }
    box.borderWidth = borderWidthOf(border, borderWidth);
    box.borderColor = border ? borderColor : kWhite;
    return box;
}

} // namespace

PictureBox thumbnailBoxOf(const GallerySettings& s) {
    // Crop keeps both flags on, so it always cuts an exact window.
    const bool both = s.ThumbStretch == ThumbFit::Crop || (s.ThumbWidth.on && s.ThumbHeight.on);
    return boxOf({both || !s.ThumbHeight.on, s.ThumbWidth.value}, {both, s.ThumbHeight.value},
                 "thumbnail", s.ThumbBorder, s.ThumbBorderWidth, s.ThumbBorderColor);
}

std::optional<PictureBox> largePictureBoxOf(const GallerySettings& s) {
    if (!s.ResizePic) {
        return std::nullopt;
    }
    const bool both = s.PicWidth.on && s.PicHeight.on;
    return boxOf({both || !s.PicHeight.on, s.PicWidth.value}, {both, s.PicHeight.value},
                 "large picture", s.PicBorder, s.PicBorderWidth, s.PicBorderColor);
}

RenderedPicture renderThumbnail(TImgEntry& entry, const PictureBox& box) {
    const Bitmap source = LoadPicture(entry);
    return finish(GenPic(source, box.width, box.height, box.borderWidth, entry.crop,
                         entry.rotate * 90, box.borderColor, box.keepRatio));
}

RenderedPicture renderLargePicture(TImgEntry& entry, const std::optional<PictureBox>& box) {
    const Bitmap source = LoadPicture(entry);
    if (!box) {
        // Own size: only the rotation applies.
        return finish(
            GenPic(source, source.width(), source.height(), 0, 0, entry.rotate * 90, kWhite, true));
    }
    return finish(GenPic(source, box->width, box->height, box->borderWidth, 0, entry.rotate * 90,
                         box->borderColor, box->keepRatio));
}

std::string thumbnailFileName(const GallerySettings& settings, std::size_t i) {
    return settings.ThumbPrefix + std::to_string(i) + settings.ThumbSuffix + ".jpg";
}

std::string largePictureFileName(std::size_t i) {
    return "pic" + std::to_string(i) + ".jpg";
}

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
