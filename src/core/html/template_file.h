#pragma once

#include <string>
#include <vector>

#include "model/style_list.h"

namespace vellumar {

// A style template as the page generators hold it: one entry per line, line ends removed,
// blanks kept.
using TemplateLines = std::vector<std::string>;

} // namespace vellumar
