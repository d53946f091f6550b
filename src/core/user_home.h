#pragma once

#include <optional>
#include <string>

namespace vellumar {

// The user's home folder as the password database gives it, which holds also when HOME is
// unset or points elsewhere; nothing when the database has no entry for the user.
std::optional<std::string> passwordDatabaseHome();

} // namespace vellumar
