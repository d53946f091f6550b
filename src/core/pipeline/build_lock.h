#pragma once

#include <string>

namespace vellumar {

// Keeps a second build from writing into a folder another build of this program is writing
// into, where each would clear away the other's unfinished files. The lock is a file in the
// program's cache folder, held with flock(), so it goes with its process however that ends.
class BuildLock {
public:
    // Takes the lock of folder for the build described by `what` (shown to a second build).
    // Fails with a ProjectError naming the build that holds it. Where no lock file can be
    // made (no writable cache folder) the build goes ahead unguarded.
    BuildLock(const std::string& folder, const std::string& what);
    ~BuildLock();
    BuildLock(const BuildLock&) = delete;
    BuildLock& operator=(const BuildLock&) = delete;

private:
    int m_descriptor = -1;
};

} // namespace vellumar
