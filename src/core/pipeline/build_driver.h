#pragma once

#include <string>
#include <vector>

#include "frontend.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "pipeline/build_plan.h"
#include "pipeline/built_sizes.h"
#include "readers/format_registry.h"

namespace vellumar {

// What a build works on: copies taken when it starts, so nothing the user does meanwhile
// pulls the list from under it.
struct BuildInput {
    GallerySettings settings;
    std::vector<TImgEntry> entries;
    std::string programFolder;
    std::vector<std::string> protectedPaths; // the project's own files, never written over
    std::string description; // names this build to a second one, as "the build of trip.vlm"
};

enum class BuildOutcome { Finished, Stopped, Failed };

struct BuildReport {
    BuildOutcome outcome = BuildOutcome::Finished;
    std::string error; // the user-facing text, when Failed
    PictureResults pictures;
};

// The one build driver: checks the output folders, takes the folder's build lock, then runs
// the picture loops and the page step the plan asks for; at the end, "Always overwrite"
// removes what the earlier gallery had and the new one has not. Errors end the build where
// they happen and come back in the report; what was written stays, and so does every file of
// the earlier gallery.
BuildReport runBuild(const BuildPlan& plan, const BuildInput& input,
                     const PictureFormatRegistry& formats, Frontend& frontend);

// How a build by this plan treats the files in its folders: it writes over none of the
// project's own files, and Always overwrite deletes only what a build of this gallery writes.
// One policy serves one build: it collects the paths of what the build writes.
OutputPolicy outputPolicyOf(const BuildPlan& plan, const GallerySettings& settings,
                            const std::string& programFolder,
                            const std::vector<std::string>& protectedPaths, Frontend& frontend);

// The entries with the sizes a build made recorded in them, for the pages and for the
// project's own list.
void recordBuiltSizes(std::span<TImgEntry> entries, const std::vector<BuiltSizes>& sizes);

} // namespace vellumar
