#include "picture_size_check.h"

#include <string>

#include "project_error.h"

namespace vellumar {

PictureSize checkPictureSize(std::int64_t width, std::int64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (width <= 0 || height <= 0) {
        throw ProjectError("the picture has no pixels (" + size + ")");
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
        throw ProjectError("the picture is too large (" + size +
                           " pixels; at most 65535 on a side and 400 million in all)");
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

} // namespace vellumar
