#pragma once

#include "model/picture_list.h"
#include "readers/format_registry.h"

namespace vellumar {

// The "Titles from descriptions" command: each picture whose file carries a title (XMP
// dc:title, else IPTC headline) takes it as its title, and each that carries a description
// (pictureDescription) takes it as its info, each on one line. Text that cameras fill in by
// themselves does not count (PictureMetadata). Other pictures keep what they have. Returns
// how many pictures changed.
int titlesFromMetadata(PictureList& list, const PictureFormatRegistry& registry);

} // namespace vellumar
