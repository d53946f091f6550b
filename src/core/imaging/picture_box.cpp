#include "picture_box.h"

namespace vellumar {

PictureBox doubleSizeOf(const PictureBox& box) {
    PictureBox doubled = box;
    doubled.width = 2 * box.width;
    doubled.height = 2 * box.height;
    doubled.borderWidth = 2 * box.borderWidth;
    return doubled;
}

} // namespace vellumar
