#pragma once

#include "imaging/bitmap.h"
#include "model/img_entry.h"
#include "readers/format_registry.h"

namespace vellumar {

// Reads the entry's picture file. Blanks and control characters around the path are removed
// and the trimmed path is stored back into the entry, even when reading then fails. JPEG,
// icon and metafile pictures come back 24-bit; other formats keep the reader's layout. With
// autoRotate the picture is turned as the camera was held (the AutoRotate setting).
Bitmap LoadPicture(TImgEntry& entry, const PictureFormatRegistry& formats, bool autoRotate = false);

} // namespace vellumar
