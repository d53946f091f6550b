#pragma once

#include <filesystem>
#include <string>

namespace vellumar {

// The folder holding the styles, button images, backgrounds and help texts, with a trailing
// separator: the current folder when it has a "template" folder, else the data installed
// beside the executable (<exe dir>/../share/vellumar/), else the source tree's data folder
// of a program run from its build tree.
std::string locateProgramFolder(const std::filesystem::path& currentFolder,
                                const std::filesystem::path& executableFolder,
                                const std::filesystem::path& sourceDataFolder);

// locateProgramFolder for the running process.
std::string programFolder();

} // namespace vellumar
