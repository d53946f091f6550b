#pragma once

#include "readers/picture_reader.h"

namespace vellumar::fuzzing {

// Project files come from anywhere: reading one must never crash or hang, whatever the
// bytes, and what was read must save again.
void loadProjectFile(Bytes bytes);

// Style templates are files anyone can drop into the template folder: expanding one and
// finding its resource references must never crash, whatever the bytes.
void expandTemplateText(Bytes bytes);

// A project may name any file as an SVG button: checking it must never crash or hang,
// whatever the bytes.
void checkSvgFile(Bytes bytes);

// Whatever the bytes, their embedded metadata reads as values within their documented ranges
// and never fails.
void readMetadata(Bytes bytes);

} // namespace vellumar::fuzzing
