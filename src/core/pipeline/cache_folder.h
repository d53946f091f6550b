#pragma once

#include <string>

namespace vellumar {

// The program's folder in the user's cache folder ($XDG_CACHE_HOME/vellumar/, else
// ~/.cache/vellumar/), with a trailing separator. Not created here.
std::string programCacheFolder();

} // namespace vellumar
