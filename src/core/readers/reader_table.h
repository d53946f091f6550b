#pragma once

#include "readers/format_registry.h"

namespace vellumar {

// Fills a registry with every readable format, in the order the file dialogs list them.
void registerPictureFormats(PictureFormatRegistry& registry);

// The program's one registry, filled on first use.
const PictureFormatRegistry& pictureFormats();

} // namespace vellumar
