#include "output_fingerprint.h"

#include <sys/stat.h>

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

std::optional<std::string> sourceOf(const RenderRequest& request) {
    struct stat source {};
    if (::stat(request.path.c_str(), &source) != 0 || !S_ISREG(source.st_mode)) {
        return std::nullopt;
    }
    // The path's length goes first, so no path can pass for another path and more.
    return programIdentity() + "\nsource " + std::to_string(request.path.size()) + " " +
           request.path + " " + fileIdentity(source) + "\nturns " +
           std::to_string(quarterTurnsToDegrees(request.rotate)) + " smooth " +
           std::to_string(request.smoothScaling);
}

std::string boxText(const PictureBox& box) {
    return std::to_string(box.width) + "x" + std::to_string(box.height) + " keep " +
           std::to_string(box.keepRatio) + " border " + std::to_string(box.borderWidth) + " " +
           std::to_string(box.borderColor);
}

} // namespace

std::optional<std::string> thumbnailFingerprint(const RenderRequest& request) {
    std::optional<std::string> text = sourceOf(request);
    if (text && request.thumbnail) {
        *text +=
            "\nthumbnail " + boxText(*request.thumbnail) + " crop " + std::to_string(request.crop);
        return text;
    }
    return std::nullopt;
}

std::optional<std::string> largePictureFingerprint(const RenderRequest& request) {
    std::optional<std::string> text = sourceOf(request);
    if (text && request.largePicture) {
        *text += "\nlarge picture " +
                 (request.largePictureBox ? boxText(*request.largePictureBox) : "own size");
        return text;
    }
    return std::nullopt;
}

} // namespace vellumar
