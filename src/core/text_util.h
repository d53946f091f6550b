#pragma once

#include <string>
#include <string_view>

namespace vellumar {

// Removes blanks (spaces) at both ends.
std::string trimBlanks(std::string_view text);

// Removes blanks and control characters at both ends.
std::string trimBlanksAndControls(std::string_view text);

// ASCII letters only; file extensions and INI names are compared this way.
std::string toLowerAscii(std::string_view text);
std::string toUpperAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace vellumar
