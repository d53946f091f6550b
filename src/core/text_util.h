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
// The same, with NUL bytes kept inside their lines, for readers that refuse them.
std::vector<std::string> splitLinesKeepingNul(std::string_view text);

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF.
bool isValidUtf8(std::string_view text);
// Text to show in a message: UTF-8 as it is, anything else with its bytes past ASCII as \xNN.
std::string shownAsUtf8(std::string_view text);

} // namespace vellumar
