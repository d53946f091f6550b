#pragma once

#include "color.h"

namespace vellumar {

// The box a picture is shaped to and the frame drawn around it.
struct PictureBox {
    int width = 0;
    int height = 0;
    bool keepRatio = false;
    int borderWidth = 0;
    Color borderColor = kWhite;
    // With keepRatio: the picture is held inside both sides of the box, not only the side
    // its orientation picks.
    bool fitInside = false;
};

// The box of a thumbnail's double-size version: twice the box and twice the border, so that
// it shows the same picture, and a crop the same window, at twice the pixel density.
PictureBox doubleSizeOf(const PictureBox& box);

// The box a picture is shaped to before its quarter turns: a box the turned picture must fit
// inside turns with it, every other box stays as it is.
PictureBox shapingBoxOf(const PictureBox& box, int quarterTurns);

} // namespace vellumar
