#pragma once

#include <string>

namespace vellumar {

// Whether path lies below folder once every symbolic link and "." or ".." step of both is
// resolved. A path that does not exist (yet) is resolved as far as it exists; the folder
// itself does not lie inside itself.
bool liesInside(const std::string& path, const std::string& folder);

} // namespace vellumar
