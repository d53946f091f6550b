#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// Removes blanks (spaces) at both ends.
std::string trimBlanks(std::string_view text);

// Removes blanks and control characters at both ends.
std::string trimBlanksAndControls(std::string_view text);

// ASCII letters only; file extensions and INI names are compared this way.
std::string toLowerAscii(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Splits 8-bit text into lines ending at CR, LF or CR LF, without their line ends; a NUL ends
// the text. A line end at the very end of the text does not start another line.
std::vector<std::string> splitLines(std::string_view text);

} // namespace vellumar
