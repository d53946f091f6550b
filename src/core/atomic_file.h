#pragma once

#include <string>
#include <string_view>

namespace vellumar {

// Replaces the file at path with the given bytes so that, whatever happens, the path holds
// either the old file or the complete new one: the bytes go to a temporary file beside it,
// reach the disk, and are then renamed over the old file. Fails with
// "Unable to write to <path>" and leaves the old file untouched.
void replaceFileAtomically(const std::string& path, std::string_view bytes);

} // namespace vellumar
