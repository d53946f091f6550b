#pragma once

#include <optional>
#include <string>

#include "frontend.h"
#include "model/project.h"
#include "pipeline/build_plan.h"
#include "pipeline/render_pool.h"

namespace vellumar {

// Builds a small gallery of the first index page's pictures into the preview folder and
// returns the path of its index page; nothing when there is nothing to preview or an error
// ended it (both told through the front end). The destination folder is not touched.
std::optional<std::string> buildPreview(Project& project, const std::string& programFolder,
                                        const PictureFormatRegistry& formats, Frontend& frontend,
                                        const BuildOptions& options = {});

// The first index page of the built gallery, or nothing (with a notice) when the destination
// is blank or the gallery has not been built.
std::optional<std::string> builtIndexPage(const GallerySettings& settings, Frontend& frontend);

} // namespace vellumar
