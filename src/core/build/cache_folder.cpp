#include "cache_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace vellumar {

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    // Without HOME (a service, a cleared environment) the password database still knows.
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/tmp";
}

} // namespace

std::string programCacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
        return std::string(cache) + "/vellumar/";
    }
    return homeFolder() + "/.cache/vellumar/";
}

} // namespace vellumar
