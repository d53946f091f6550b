#pragma once

#include <string>

#include "imaging/format_registry.h"
#include "model/picture_list.h"
#include "readers/reader_table.h"

namespace vellumar {

class Frontend;

// The grid row of a picture file, its size read from the file's header. Fails with the
// reader's message when the picture cannot be read.
FileInfoRow fileInfoRowOf(const std::string& path,
                          const PictureFormatRegistry& registry = pictureFormats());

// Rewrites every row from the picture files, as after a sort.
void ReloadFileInfo(PictureList& list, const PictureFormatRegistry& registry = pictureFormats());

// Rebuilds the grid of a loaded project row by row, reporting the rows done so far.
void FillTable(PictureList& list, Frontend& frontend,
               const PictureFormatRegistry& registry = pictureFormats());

} // namespace vellumar
