#pragma once

#include <string>
#include <vector>

#include "model/picture_failures.h"
#include "model/picture_list.h"
#include "readers/format_registry.h"

namespace vellumar {

class Frontend;

inline constexpr const char* kListFullInFolder = "Too many pictures, cannot add more";
inline constexpr const char* kListFullInSubfolder = "Too many pictures, cannot add more.";

// What adding could not take: pictures that could not be read (passed over, the walk goes
// on) and, once the list was full, the picture files left out, in the order of the walk.
struct AddingReport {
    std::vector<PictureFailure> unreadable;
    std::vector<std::string> leftOut;
};

// Appends one picture under its full path, its size read from the file's header. Returns
// false, without a message, when the list is full. A picture that cannot be read is not
// appended: the reader's error is raised.
bool AddPic(PictureList& list, const std::string& path, Frontend& frontend,
            const PictureFormatRegistry& registry);

// Adds every picture file directly in the folder, in natural name order (naturalNameLess);
// files that cannot be read are noted in the report and passed over. Returns false when the
// list filled up.
bool AddAllPic(PictureList& list, const std::string& folder, Frontend& frontend,
               AddingReport& report, const PictureFormatRegistry& registry);

// Adds the folder's pictures, then those of each sub-folder in name order, depth first. Returns
// false when the list filled up.
bool AddDirPic(PictureList& list, const std::string& folder, Frontend& frontend,
               AddingReport& report, const PictureFormatRegistry& registry);

// One notice naming the pictures the report holds as unreadable (none when there are none).
void reportUnreadable(const AddingReport& report, Frontend& frontend);

// The "Images" command: the files a chooser returned, the first one last (the order the
// chooser's selection is taken in). Names the full list refuses are skipped. Pictures that
// cannot be read are passed over and named in one notice at the end; returns false then.
bool addChosenFiles(PictureList& list, const std::vector<std::string>& paths, Frontend& frontend,
                    const PictureFormatRegistry& registry);

// The "Folder" command, with or without the sub-folders. Pictures that cannot be read are
// passed over and named in one notice at the end; returns false then.
bool addFolder(PictureList& list, const std::string& folder, bool withSubfolders,
               Frontend& frontend, const PictureFormatRegistry& registry);

} // namespace vellumar
