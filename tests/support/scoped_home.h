#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace vellumar::testing {

// Points $HOME at another folder, or unsets it, for the life of the object.
class ScopedHome {
public:
    explicit ScopedHome(const std::optional<std::string>& folder) {
        if (const char* home = std::getenv("HOME")) {
            m_previous = home;
        }
        if (folder) {
            setenv("HOME", folder->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    ~ScopedHome() {
        if (m_previous) {
            setenv("HOME", m_previous->c_str(), 1);
        } else {
            unsetenv("HOME");
        }
    }
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace vellumar::testing
