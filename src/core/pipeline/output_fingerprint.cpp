#include "output_fingerprint.h"

#include <filesystem>
#include <sys/stat.h>

#include "colour/colour_conversion.h"
#include "imaging/rotate.h"

namespace vellumar {

namespace {

std::string fileIdentity(const struct stat& file) {
    return std::to_string(file.st_dev) + ":" + std::to_string(file.st_ino) + " " +
           std::to_string(file.st_size) + " bytes " + std::to_string(file.st_mtim.tv_sec) + "." +
           std::to_string(file.st_mtim.tv_nsec);
}

// The program's version and its very executable, so that a rebuilt program, whose renders
// may differ, never takes a picture of an earlier one for its own.
const std::string& programIdentity() {
    static const std::string identity = [] {
        std::string text = "vellumar " VELLUMAR_VERSION;
        struct stat program {};
        if (::stat("/proc/self/exe", &program) == 0) {
            text += " " + fileIdentity(program);
        }
        return text;
    }();
    return identity;
}

// The crop as the project file stores it.
std::string cropText(CropAlign crop) {
    return std::to_string(static_cast<int>(crop));
}

// A box that does not fit the picture inside keeps the text it always had, so that outputs
// made before the choice existed are still reused.
std::string shapeText(const PictureBox& box) {
    return std::to_string(box.width) + "x" + std::to_string(box.height) + " keep " +
           std::to_string(box.keepRatio) + (box.fitInside ? " inside" : "");
}

// Whether the request may keep a large picture as the source's own JPEG data.
bool keepsOriginalJpeg(const RenderRequest& request) {
    return request.keepOriginalJpeg && request.largePicture && !request.largePictureBox;
}

std::string widthsText(const std::vector<int>& widths) {
    std::string text;
    for (const int width : widths) {
        text += " " + std::to_string(width);
    }
    return text;
}

// With smooth scaling a picture is decoded once, as small as all its outputs allow, so each
// output depends on the shape of the other as well (not on its border).
std::string decodeText(const RenderRequest& request) {
    if (!request.smoothScaling) {
        return {};
    }
    std::string text = "\ndecoded for";
    if (request.thumbnail) {
        text += " thumbnail " + shapeText(*request.thumbnail) + " crop " + cropText(request.crop);
        if (request.doubleSizeThumbnail) {
            text += " and double size";
        }
    }
    if (request.largePicture) {
        text += " large picture " +
                (request.largePictureBox ? shapeText(*request.largePictureBox) : "own size");
        // A large picture kept as the source's JPEG is not decoded: its copies are.
        if (keepsOriginalJpeg(request)) {
            text += " kept, copies" + widthsText(request.responsiveWidths);
        }
    }
    return text;
}

// Colours depend on the gallery's choice of wide gamut and on how this program converts them.
std::string colourText(const RenderRequest& request) {
    return " colours " + std::to_string(kColourVersion) + " wide " +
           std::to_string(request.wideGamut);
}

std::optional<std::string> sourceOf(const RenderRequest& request) {
    struct stat source {};
    if (::stat(request.path.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
        return std::nullopt;
    }
    std::error_code error;
    const std::string path = std::filesystem::absolute(request.path, error).string();
    // The path's length goes first, so no path can pass for another path and more.
    return programIdentity() + "\nsource " + std::to_string(path.size()) + " " + path + " " +
           fileIdentity(source) + "\nturns " +
           std::to_string(quarterTurnsToDegrees(request.rotate)) + " smooth " +
           std::to_string(request.smoothScaling) + " camera-held " +
           std::to_string(request.autoRotate) + colourText(request) + decodeText(request);
}

std::string boxText(const PictureBox& box) {
    return shapeText(box) + " border " + std::to_string(box.borderWidth) + " " +
           std::to_string(box.borderColor);
}

} // namespace

std::optional<std::string> thumbnailFingerprint(const RenderRequest& request) {
    std::optional<std::string> text = sourceOf(request);
    if (text && request.thumbnail) {
        *text += "\nthumbnail " + boxText(*request.thumbnail) + " crop " + cropText(request.crop);
        return text;
    }
    return std::nullopt;
}

std::optional<std::string> doubleSizeThumbnailFingerprint(const RenderRequest& request) {
    std::optional<std::string> text = sourceOf(request);
    if (text && request.thumbnail && request.doubleSizeThumbnail) {
        *text += "\ndouble-size thumbnail " + boxText(doubleSizeOf(*request.thumbnail)) + " crop " +
                 cropText(request.crop);
        return text;
    }
    return std::nullopt;
}

std::optional<std::string> largePictureFingerprint(const RenderRequest& request) {
    std::optional<std::string> text = sourceOf(request);
    if (text && request.largePicture) {
        *text += "\nlarge picture " +
                 (request.largePictureBox ? boxText(*request.largePictureBox) : "own size") +
                 (keepsOriginalJpeg(request) ? " kept as the source's JPEG" : "");
        return text;
    }
    return std::nullopt;
}

std::optional<std::string> extraOutputFingerprint(const RenderRequest& request,
                                                  const ExtraOutput& output) {
    std::optional<std::string> text;
    switch (output.of) {
    case ExtraOutput::Of::Thumbnail:
        text = thumbnailFingerprint(request);
        break;
    case ExtraOutput::Of::DoubleSizeThumbnail:
        text = doubleSizeThumbnailFingerprint(request);
        break;
    case ExtraOutput::Of::ResponsiveCopy:
        text = largePictureFingerprint(request);
        if (text) {
            *text += "\ncopy " + std::to_string(output.width) + " wide";
        }
        break;
    }
    if (text) {
        *text += " as " + std::string(formatName(output.format));
    }
    return text;
}

} // namespace vellumar
