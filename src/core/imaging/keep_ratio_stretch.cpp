#include "keep_ratio_stretch.h"

#include "imaging/filtered_stretch.h"
#include "imaging/raster.h"
#include "imaging/rounding.h"

namespace vellumar {

PictureSize keepRatioSize(int width, int height, int sourceWidth, int sourceHeight) {
    if (width >= sourceWidth && sourceHeight <= height) {
        return {sourceWidth, sourceHeight};
    }
    if (sourceWidth > sourceHeight) {
        return {width, static_cast<int>(divideRoundingHalfEven(
                           static_cast<std::int64_t>(sourceHeight) * width, sourceWidth))};
    }
    return {static_cast<int>(divideRoundingHalfEven(static_cast<std::int64_t>(sourceWidth) * height,
                                                    sourceHeight)),
            height};
}

Bitmap KeepRatioStretch(int width, int height, bool platformScale, const Bitmap& source) {
    const PictureSize size = keepRatioSize(width, height, source.width(), source.height());
    if (size.width == source.width() && size.height == source.height()) {
        return source;
    }
    if (platformScale) {
        return stretchUnblended(source, size.width, size.height);
    }
    return FilteredStretch(size.width, size.height, ResampleFilter::Triangle, 0, source);
}

} // namespace vellumar
