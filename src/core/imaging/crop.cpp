#include "crop.h"

#include "imaging/raster.h"
#include "imaging/rounding.h"

namespace vellumar {

namespace {

// Where the window starts along one side of length `length`.
int windowOrigin(CropAlign crop, int length, int window) {
    switch (crop) {
    case CropAlign::TopLeft:
        return 0;
    case CropAlign::RightBottom:
        return length - window;
    default:
        return static_cast<int>(
            divideRoundingHalfEven(static_cast<std::int64_t>(length) - window, 2));
    }
}

} // namespace

Bitmap Crop(const Bitmap& source, CropAlign crop, int width, int height) {
    Bitmap result(width, height); // black where the window leaves the picture
    drawBitmap(result, source, -windowOrigin(crop, source.width(), width),
               -windowOrigin(crop, source.height(), height));
    return result;
}

} // namespace vellumar
