#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "html/page_context.h"

namespace vellumar {

// The value of a picture-metadata token ("pic date", "pic camera", "pic lens", "pic
// exposure", "pic description") for picture n of the context, as HTML text, "" when the picture
// does not carry it; nothing when name is no such token. The file's texts are escaped, as they come
// from whoever made the file rather than from the gallery's author.
std::optional<std::string> metadataToken(std::string_view name, const PageContext& context,
                                         int picture);

} // namespace vellumar
