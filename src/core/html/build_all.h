#pragma once

#include <string>

#include "frontend.h"
#include "model/project.h"

namespace vellumar {

// Builds the whole gallery of the project into its destination folder: thumbnails, large
// pictures, then the pages. A blank destination is refused; a missing one is created after
// the user agrees. Every refusal and error is told through the front end, and an error ends
// the build where it happened. True when all three builds ran to the end.
bool BuildAll(Project& project, const std::string& programFolder, Frontend& frontend);

} // namespace vellumar
