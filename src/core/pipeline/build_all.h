#pragma once

#include <string>

#include "frontend.h"
#include "model/project.h"
#include "pipeline/build_driver.h"
#include "pipeline/render_pool.h"

namespace vellumar {

// How a whole build ended: whether it ran to the end, and how many pictures it went on
// without (placeholders in their place) when asked to keep going.
struct BuildAllResult {
    bool finished = false;
    std::size_t skippedPictures = 0;
    std::size_t decodedPictures = 0; // the others were skipped or taken from earlier builds

    explicit operator bool() const { return finished; }
};

// Builds the whole gallery of the project into its destination folder: thumbnails, large
// pictures, then the pages, rendering as the options say. A blank destination or a
// setting that would stop the build part-way is refused before anything is written; a
// missing destination is created after the user agrees. Every refusal and error is told
// through the front end, and an error ends the build where it happened; with keepGoing, a
// picture that cannot be read gets placeholders instead and one notice at the end names
// every such picture. The built sizes are recorded in the project's entries.
BuildAllResult BuildAll(Project& project, const std::string& programFolder,
                        const PictureFormatRegistry& formats, Frontend& frontend,
                        const BuildOptions& options = {});

// What a build works on, taken from the project as it stands; work names it to a second
// build ("the build", "the preview").
BuildInput buildInputOf(const Project& project, const std::string& programFolder,
                        const std::string& work);

// Records the sizes a build made in the project's entries. The list may have changed while
// the build ran: sizes go only to the pictures that are still where the build found them.
void recordInProject(Project& project, const BuildInput& input, const BuildReport& report);

} // namespace vellumar
