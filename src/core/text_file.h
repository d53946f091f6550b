#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// The whole file as bytes; fails with "Cannot open file <path>: <reason>".
std::string readFileText(const std::string& path);

// Lines ended by LF or CR LF; a last line without an end is kept.
std::vector<std::string> splitLines(std::string_view text);

} // namespace vellumar
