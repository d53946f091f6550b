#include "keep_ratio_stretch.h"

#include <algorithm>
#include <cstdint>

#include "imaging/filtered_stretch.h"
#include "imaging/raster.h"
#include "imaging/rounding.h"

namespace vellumar {

namespace {

int followingSide(int side, int numerator, int denominator) {
    return static_cast<int>(
        divideRoundingHalfEven(static_cast<std::int64_t>(side) * numerator, denominator));
}

Bitmap scaledTo(PictureSize size, bool platformScale, const Bitmap& source) {
    if (size.width == source.width() && size.height == source.height()) {
        return source;
    }
    if (platformScale) {
        return stretchUnblended(source, size.width, size.height);
    }
    return FilteredStretch(size.width, size.height, ResampleFilter::Triangle, 0, source);
}

} // namespace

PictureSize keepRatioSize(int width, int height, int sourceWidth, int sourceHeight) {
    if (width >= sourceWidth && sourceHeight <= height) {
        return {sourceWidth, sourceHeight};
    }
    if (sourceWidth > sourceHeight) {
        return {width, followingSide(sourceHeight, width, sourceWidth)};
    }
    return {followingSide(sourceWidth, height, sourceHeight), height};
}

PictureSize fitInsideSize(int width, int height, int sourceWidth, int sourceHeight) {
    if (width >= sourceWidth && sourceHeight <= height) {
        return {sourceWidth, sourceHeight};
    }
    // Whichever side reaches its edge of the box first decides the scale.
    if (static_cast<std::int64_t>(sourceWidth) * height >=
        static_cast<std::int64_t>(sourceHeight) * width) {
        return {width, std::max(followingSide(sourceHeight, width, sourceWidth), 1)};
    }
    return {std::max(followingSide(sourceWidth, height, sourceHeight), 1), height};
}

PictureSize keptRatioSize(const PictureBox& box, PictureSize source) {
    return box.fitInside ? fitInsideSize(box.width, box.height, source.width, source.height)
                         : keepRatioSize(box.width, box.height, source.width, source.height);
}

Bitmap KeepRatioStretch(int width, int height, bool platformScale, const Bitmap& source) {
    return scaledTo(keepRatioSize(width, height, source.width(), source.height()), platformScale,
                    source);
}

Bitmap KeepRatioStretch(const PictureBox& box, bool platformScale, const Bitmap& source) {
    return scaledTo(keptRatioSize(box, {source.width(), source.height()}), platformScale, source);
}

} // namespace vellumar
