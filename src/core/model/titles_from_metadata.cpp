#include "titles_from_metadata.h"

#include "readers/picture_loader.h"
#include "readers/sidecar_text.h"
#include "text_util.h"

namespace vellumar {

namespace {

// A project file keeps each text on one line: the line breaks of a description, and any other
// control characters, become one blank each run.
std::string oneLine(const std::string& text) {
    std::string line;
    bool inBreak = false;
    for (const char c : text) {
        const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        if (!control) {
            line += c;
        } else if (!inBreak) {
            line += ' ';
        }
        inBreak = control;
    }
    return line;
}

} // namespace

int titlesFromMetadata(PictureList& list, const PictureFormatRegistry& registry) {
    int changed = 0;
    for (int position = 1; position <= list.count(); ++position) {
        TImgEntry& entry = list.entry(position);
        const std::string path = trimBlanksAndControls(entry.file);
        const PictureMetadata metadata = readPictureMetadata(path, registry);
        const TImgEntry before = entry;
        if (!metadata.title.empty()) {
            entry.title = oneLine(metadata.title);
        }
        if (const std::string description = pictureDescription(metadata, path);
            !description.empty()) {
            entry.info = oneLine(description);
        }
        changed += entry == before ? 0 : 1;
    }
    return changed;
}

} // namespace vellumar
