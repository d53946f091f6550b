#include "responsive_copy.h"

#include <algorithm>
#include <cstdint>

namespace vellumar {

PictureSize responsiveCopySize(int width, PictureSize picture) {
    const std::int64_t height =
        (std::int64_t{picture.height} * width + picture.width / 2) / picture.width;
    return {width, static_cast<int>(std::max<std::int64_t>(height, 1))};
}

std::vector<PictureSize> responsiveCopySizes(std::span<const int> widths, PictureSize picture) {
    std::vector<PictureSize> sizes;
    for (const int width : widths) {
        if (width < picture.width) {
            sizes.push_back(responsiveCopySize(width, picture));
        }
    }
    return sizes;
}

PictureSize turnedSize(PictureSize size, int quarterTurns) {
    return quarterTurns % 2 == 0 ? size : PictureSize{size.height, size.width};
}

} // namespace vellumar
