#pragma once

#include <string>
#include <vector>

#include "command_line.h"
#include "model/gallery_settings.h"

namespace vellumar::cli {

// The value after an option; fails with UsageError when it is missing. Moves index onto it.
const std::string& optionValue(const Arguments& arguments, std::size_t& index);

// The folder holding the styles: the one given, else the program's own.
std::string chosenProgramFolder(const std::string& given);

// Settings as the wizard starts with them: every default, then a style applied (the first
// installed one when style is empty; none when no style is installed).
GallerySettings startingSettings(const std::string& programFolder,
                                 const std::vector<std::string>& styles,
                                 const std::string& style = "");

} // namespace vellumar::cli
