#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/format_registry.h"
#include "imaging/picture_size.h"
#include "readers/reader_table.h"

namespace vellumar {

// Reads a picture file with the reader its extension selects. A file that plainly holds
// another registered format (a PNG saved as ".jpg") is read by that format's reader.
// Failures name the file: "Cannot read picture <path>: <what is wrong>".
Bitmap readPictureFile(const std::string& path,
                       const PictureFormatRegistry& registry = pictureFormats());

// Width and height from the file's header, reading as little of the file as it can.
PictureSize probePictureFile(const std::string& path,
                             const PictureFormatRegistry& registry = pictureFormats());

} // namespace vellumar
