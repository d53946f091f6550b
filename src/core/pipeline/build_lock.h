#pragma once

#include <string>

namespace vellumar {

// Keeps a second build from writing into a folder another build is writing into, where each
// would replace the other's files. The lock is a hidden file in the folder itself
// (kBuildLockFileName), held with
// flock(): it binds every process that writes there, whoever runs it and wherever its home
// is, and it goes with its process however that ends, so a file left by a crash stops
// nobody. The holder removes the file when it is done.
class BuildLock {
public:
    // Takes the lock of folder for the build described by `what` (shown to a second build).
    // Fails with a ProjectError naming the build that holds it. Where no lock file can be
    // opened (a folder we may not write into, whose build fails at its first file anyway)
    // the build goes ahead unguarded.
    BuildLock(const std::string& folder, const std::string& what);
    ~BuildLock();
    BuildLock(const BuildLock&) = delete;
    BuildLock& operator=(const BuildLock&) = delete;

private:
    std::string m_path;
    int m_descriptor = -1;
};

} // namespace vellumar
