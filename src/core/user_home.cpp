#include "user_home.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace vellumar {

std::optional<std::string> passwordDatabaseHome() {
    const long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0') {
        return std::string(found->pw_dir);
    }
    return std::nullopt;
}

} // namespace vellumar
