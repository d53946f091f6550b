#pragma once

#include <string>
#include <vector>

#include "model/picture_failures.h"
#include "model/picture_list.h"
#include "readers/format_registry.h"

namespace vellumar {

class Frontend;

// The grid row of a picture file, its size read from the file's header, turned as the
// camera was held when sizesAsCameraHeld. Fails with the reader's message when the picture
// cannot be read.
FileInfoRow fileInfoRowOf(const std::string& path, const PictureFormatRegistry& registry,
                          bool sizesAsCameraHeld = false);

// The size column of a picture that is there but cannot be decoded.
inline constexpr const char* kCannotBeRead = "cannot be read";

// The grid row of a picture, or, when it cannot be read, a row saying so in its size column;
// the failure is added to unreadable. A project keeps such pictures, so the user can see and
// remove them. Sizes as fileInfoRowOf gives them.
FileInfoRow gridRowOf(const std::string& path, const PictureFormatRegistry& registry,
                      std::vector<PictureFailure>& unreadable, bool sizesAsCameraHeld = false);

// Rewrites every row from the picture files, as after a sort. Returns the pictures that
// could not be read.
std::vector<PictureFailure> ReloadFileInfo(PictureList& list,
                                           const PictureFormatRegistry& registry);

// Rebuilds the grid of a loaded project row by row, reporting the rows done so far. Returns
// the pictures that could not be read.
std::vector<PictureFailure> FillTable(PictureList& list, Frontend& frontend,
                                      const PictureFormatRegistry& registry);

} // namespace vellumar
