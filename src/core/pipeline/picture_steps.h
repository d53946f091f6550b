#pragma once

#include <span>
#include <vector>

#include "frontend.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "pipeline/build_plan.h"
#include "pipeline/built_sizes.h"
#include "readers/format_registry.h"

namespace vellumar {

// The thumbnail loop and then the large-picture loop over pictures 1..plan.pictureCount.
// Each picture is decoded once, on the workers, for both of its outputs; this thread gives
// the statuses, progress and overwrite questions in list order and writes the files, first
// every thumbnail, then every large picture. An output that an earlier build wrote from the
// same source and settings, still unchanged on disk, is taken as it is instead of being made
// again; what the user sees and what the folders hold at the end are the same either way.
// Nothing is deleted here: "Always overwrite" writes each file over its earlier version and
// leaves what the gallery no longer has to the end of the page step.
// Returns false when the front end asked to stop: the picture in hand is dropped and
// what was written stays. A picture that cannot be made ends the loop that needs it with
// its error; nothing of that picture or a later one is written by that loop.
bool buildPictures(const BuildPlan& plan, const GallerySettings& settings,
                   std::span<const TImgEntry> entries, const PictureFormatRegistry& formats,
                   const OutputPolicy& policy, Frontend& frontend, PictureResults& results);

} // namespace vellumar
