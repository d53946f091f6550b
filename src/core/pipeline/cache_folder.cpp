#include "cache_folder.h"

#include <cstdlib>

#include "user_home.h"

namespace vellumar {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    // Without HOME (a service, a cleared environment) the password database still knows.
    return passwordDatabaseHome().value_or("/tmp");
}

} // namespace

std::string programCacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
        return std::string(cache) + "/vellumar/";
    }
    return homeFolder() + "/.cache/vellumar/";
}

} // namespace vellumar
