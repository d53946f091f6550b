#pragma once

#include "readers/format_registry.h"

namespace vellumar {

// Fills a registry with every readable format, in the order the file dialogs list them.
void registerPictureFormats(PictureFormatRegistry& registry);

// The program's one registry, filled on first use. The front ends hand it to the core, which
// never reaches for it itself, so that tests can give the core formats of their own.
const PictureFormatRegistry& pictureFormats();

} // namespace vellumar
