#include "camera_orientation.h"

#include <algorithm>
#include <utility>

#include "imaging/rotate.h"

namespace vellumar {

namespace {

constexpr CameraTurn kTurns[] = {
    {0, false},   // 1: as stored
    {0, true},    // 2: mirrored left to right
    {180, false}, // 3: upside down
    {180, true},  // 4: mirrored top to bottom
    {90, true},   // 5: mirrored along the main diagonal
    {90, false},  // 6: turned a quarter clockwise
    {270, true},  // 7: mirrored along the other diagonal
    {270, false}, // 8: turned a quarter counter-clockwise
};

bool isKnown(int orientation) {
    return orientation >= 1 && orientation <= 8;
}

void mirrorLeftToRight(Bitmap& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* left = picture.row(y);
        std::uint8_t* right = left + (static_cast<std::size_t>(picture.width()) - 1) * 3;
        for (; left < right; left += 3, right -= 3) {
            std::swap_ranges(left, left + 3, right);
        }
    }
}

} // namespace

CameraTurn cameraTurnOf(int orientation) {
    return isKnown(orientation) ? kTurns[orientation - 1] : CameraTurn{};
}

Bitmap turnAsCameraHeld(Bitmap picture, int orientation) {
    if (!isKnown(orientation) || orientation == 1 || picture.isEmpty()) {
        return picture;
    }
    const CameraTurn turn = kTurns[orientation - 1];
    Bitmap turned = Rotate(std::move(picture), turn.angle);
    if (turn.mirrored) {
        mirrorLeftToRight(turned);
    }
    return turned;
}

bool cameraTurnCopies(int orientation) {
    return rotationCopies(cameraTurnOf(orientation).angle);
}

PictureSize sizeAsCameraHeld(PictureSize size, int orientation) {
    if (isKnown(orientation) && orientation >= 5) {
        return {size.height, size.width};
    }
    return size;
}

} // namespace vellumar
