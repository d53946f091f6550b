#include "load_picture.h"

#include "imaging/camera_orientation.h"
#include "readers/picture_loader.h"
#include "text_util.h"

namespace vellumar {

Bitmap LoadPicture(TImgEntry& entry, const PictureFormatRegistry& formats, bool autoRotate) {
    entry.file = trimBlanksAndControls(entry.file);
    const PictureFile file(entry.file, formats);
    Bitmap picture = file.decodeWithinDefaultLimit();
    return autoRotate ? turnAsCameraHeld(std::move(picture), file.metadata().orientation) : picture;
}

} // namespace vellumar
