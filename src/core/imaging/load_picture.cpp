#include "load_picture.h"

#include "imaging/picture_loader.h"
#include "text_util.h"

namespace vellumar {

Bitmap LoadPicture(TImgEntry& entry) {
    entry.file = trimBlanksAndControls(entry.file);
    return readPictureFile(entry.file);
}

} // namespace vellumar
