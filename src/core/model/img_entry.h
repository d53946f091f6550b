#pragma once

#include <string>

#include "model/enums.h"

namespace vellumar {

// One picture of a project with the choices the user made for it.
struct TImgEntry {
    std::string file; // full path
    std::string title;
    std::string info;
    CropAlign crop = CropAlign::NoCrop;
    int rotate = 0; // quarter turns clockwise, 0..3
    // Sizes of the thumbnail and large picture as last built; 0 until then.
    int builtThumbWidth = 0;
    int builtThumbHeight = 0;
    int builtPicWidth = 0;
    int builtPicHeight = 0;

    bool operator==(const TImgEntry&) const = default;
};

} // namespace vellumar
