#include "titles_from_metadata.h"

#include "readers/picture_loader.h"
#include "readers/sidecar_text.h"
#include "text_util.h"

namespace vellumar {

int titlesFromMetadata(PictureList& list, const PictureFormatRegistry& registry) {
    int changed = 0;
    for (int position = 1; position <= list.count(); ++position) {
        TImgEntry& entry = list.entry(position);
        const std::string path = trimBlanksAndControls(entry.file);
        const PictureMetadata metadata = readPictureMetadata(path, registry);
        const TImgEntry before = entry;
        if (!metadata.title.empty()) {
            entry.title = metadata.title;
        }
        if (const std::string description = pictureDescription(metadata, path);
            !description.empty()) {
            entry.info = description;
        }
        changed += entry == before ? 0 : 1;
    }
    return changed;
}

} // namespace vellumar
