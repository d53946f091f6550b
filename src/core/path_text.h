#pragma once

#include <string>
#include <string_view>

namespace vellumar {

// The file name with its extension, without the folder: "beach.jpg" for "/pics/beach.jpg".
std::string fileNameOf(std::string_view path);

// Appends the separator when the path does not end with one.
std::string withTrailingSeparator(std::string path);

} // namespace vellumar
