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
};

// The box of a thumbnail's double-size version: twice the box and twice the border, so that
// it shows the same picture, and a crop the same window, at twice the pixel density.
PictureBox doubleSizeOf(const PictureBox& box);

} // namespace vellumar
