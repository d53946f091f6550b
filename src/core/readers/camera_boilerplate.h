#pragma once

#include <string_view>

namespace vellumar {

// Whether a title or description is text that no person wrote: what cameras and their
// software fill in by themselves ("OLYMPUS DIGITAL CAMERA", "Digital image") or a camera's
// file name ("DCFC1247.JPG", "IMG_0042"). Such text is no better than none.
bool isCameraBoilerplate(std::string_view text);

} // namespace vellumar
