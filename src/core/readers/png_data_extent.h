#pragma once

#include <string>

#include "readers/picture_reader.h"

namespace vellumar {

// How much of its picture data a PNG file holds, in the words added to the message about a
// file that ends early: " (the picture data ends after 12 of its 40 rows)", or for an
// interlaced picture the pass the data ends in. Empty when the file holds all of the data
// or its header cannot be read.
std::string pngDataExtent(Bytes file);

} // namespace vellumar
