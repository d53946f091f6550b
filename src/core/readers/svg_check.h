#pragma once

#include "file_io.h"

namespace vellumar {

// Whether the file is an SVG picture as browsers take one: well-formed XML (UTF-8 or
// UTF-16, as the XML declaration says) whose root element is "svg" of the SVG namespace.
// Reads the file piece by piece, so a big file is not held whole. Entities that expand
// without end are refused by the parser.
bool isSvgPicture(const ReadOnlyFile& file);

} // namespace vellumar
