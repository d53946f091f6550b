#include "gen_pic.h"

#include <algorithm>
#include <array>
#include <utility>

#include "imaging/crop.h"
#include "imaging/filtered_stretch.h"
#include "imaging/keep_ratio_stretch.h"
#include "imaging/raster.h"
#include "imaging/rotate.h"

namespace vellumar {

namespace {

Bitmap shape(const Bitmap& source, const PictureBox& box, CropAlign crop) {
    const int width = std::max(box.width, 0);
    const int height = std::max(box.height, 0);
    if (cutsWindow(crop)) {
        return Crop(source, crop, width, height);
    }
    if (box.keepRatio) {
        return KeepRatioStretch(box, true, source);
    }
    return FilteredStretch(width, height, ResampleFilter::Triangle, 0, source);
}

// The outline runs along the picture's edge, not the middle of the margin: a wide pen covers the
// picture's outermost pixels with the inner half of its width and leaves the outer half of
// the margin white.
Bitmap frame(const Bitmap& picture, int borderWidth, Color borderColour) {
    Bitmap framed(picture.width() + 2 * borderWidth, picture.height() + 2 * borderWidth);
    framed.fill(toRgb(kWhite));
    drawBitmap(framed, picture, borderWidth, borderWidth);
    const int right = framed.width() - borderWidth;
    const int bottom = framed.height() - borderWidth;
    const std::array<Point, 5> path = {Point{borderWidth, borderWidth},
                                       {borderWidth, bottom},
                                       {right, bottom},
                                       {right, borderWidth},
                                       {borderWidth, borderWidth}};
    const Pen pen{borderWidth, toRgb(borderColour)};
    for (std::size_t i = 1; i < path.size(); ++i) {
        drawLine(framed, path[i - 1], path[i], pen);
    }
    return framed;
}

} // namespace

Bitmap GenPic(const Bitmap& source, const PictureBox& box, CropAlign crop, int quarterTurns) {
    return turnAndFrame(shape(source, shapingBoxOf(box, quarterTurns), crop), quarterTurns, box);
}

Bitmap turnAndFrame(Bitmap shaped, int quarterTurns, const PictureBox& box) {
    const int angle = quarterTurnsToDegrees(quarterTurns);
    if (angle != 0) {
        shaped = Rotate(std::move(shaped), angle);
    }
    if (box.borderWidth <= 0) {
        shaped.convertToRgb24();
        return shaped;
    }
    return frame(shaped, box.borderWidth, box.borderColor);
}

} // namespace vellumar
