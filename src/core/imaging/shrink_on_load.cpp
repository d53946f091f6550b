#include "shrink_on_load.h"

#include <algorithm>

#include "imaging/keep_ratio_stretch.h"

namespace vellumar {

std::optional<PictureSize> averagedSize(const PictureBox& box, CropAlign crop,
                                        PictureSize fullSize) {
    if (cutsWindow(crop) || !box.keepRatio) {
        return std::nullopt;
    }
    const PictureSize size = keptRatioSize(box, fullSize);
    if (size == fullSize) {
        return std::nullopt;
    }
    return size;
}

int decodeReduction(PictureSize fullSize, std::span<const PictureSize> sizes) {
    for (const int reduction : {8, 4, 2}) {
        const PictureSize reduced{(fullSize.width + reduction - 1) / reduction,
                                  (fullSize.height + reduction - 1) / reduction};
        if (std::all_of(sizes.begin(), sizes.end(), [&](const PictureSize& size) {
                return reduced.width >= size.width && reduced.height >= size.height;
            })) {
            return reduction;
        }
    }
    return 1;
}

} // namespace vellumar
