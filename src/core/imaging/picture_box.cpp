#include "picture_box.h"

#include <utility>

#include "imaging/rotate.h"

namespace vellumar {

PictureBox doubleSizeOf(const PictureBox& box) {
    PictureBox doubled = box;
    doubled.width = 2 * box.width;
    doubled.height = 2 * box.height;
    doubled.borderWidth = 2 * box.borderWidth;
    return doubled;
}

PictureBox shapingBoxOf(const PictureBox& box, int quarterTurns) {
    PictureBox shaping = box;
    if (box.keepRatio && box.fitInside && quarterTurnsToDegrees(quarterTurns) % 180 != 0) {
        std::swap(shaping.width, shaping.height);
    }
    return shaping;
}

} // namespace vellumar
