#pragma once

#include <string>
#include <string_view>

namespace vellumar {

// A file name that stands for a text of any length, such as a full path: 16 hexadecimal
// digits of its FNV-1a hash, then the extension. Texts may share a name; files named so
// hold their text, to be checked.
std::string hashedFileName(std::string_view text, std::string_view extension);

} // namespace vellumar
