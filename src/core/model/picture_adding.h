#pragma once

#include <string>
#include <vector>

#include "imaging/format_registry.h"
#include "model/picture_list.h"
#include "readers/reader_table.h"

namespace vellumar {

class Frontend;

inline constexpr const char* kListFullInFolder = "Too many pictures, cannot add more";
inline constexpr const char* kListFullInSubfolder = "Too many pictures, cannot add more.";

// Appends one picture, its size read from the file's header. Returns false, without a
// message, when the list is full. A picture that cannot be read is not appended: the
// reader's error is raised.
bool AddPic(PictureList& list, const std::string& path, Frontend& frontend,
            const PictureFormatRegistry& registry = pictureFormats());

// Adds every picture file directly in the folder, in listing order. Returns false when the
// list filled up.
bool AddAllPic(PictureList& list, const std::string& folder, Frontend& frontend,
               const PictureFormatRegistry& registry = pictureFormats());

// Adds the folder's pictures, then those of each sub-folder, depth first. Returns false
// when the list filled up.
bool AddDirPic(PictureList& list, const std::string& folder, Frontend& frontend,
               const PictureFormatRegistry& registry = pictureFormats());

// The "Images" command: the files a chooser returned, the first one last (the order the
// chooser's selection is taken in). Names the full list refuses are skipped. A picture that
// cannot be read is reported and ends the command; returns false then.
bool addChosenFiles(PictureList& list, const std::vector<std::string>& paths, Frontend& frontend,
                    const PictureFormatRegistry& registry = pictureFormats());

// The "Folder" command, with or without the sub-folders. A picture that cannot be read is
// reported and ends the command; returns false then.
bool addFolder(PictureList& list, const std::string& folder, bool withSubfolders,
               Frontend& frontend, const PictureFormatRegistry& registry = pictureFormats());

} // namespace vellumar
