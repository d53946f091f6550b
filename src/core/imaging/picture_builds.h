#pragma once

#include <span>
#include <string>

#include "frontend.h"
#include "imaging/picture_render.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"

namespace vellumar {

// What the thumbnail and large-picture generators work on. The entries receive the sizes
// of what was built.
struct PictureBuild {
    std::span<TImgEntry> entries;
    const GallerySettings& settings;
    Frontend& frontend;
};

// Pictures first..last (from 1) into folder (ending with "/"), as the policy allows. A
// picture that cannot be read or written ends the loop with its error.
void GenThumb(const PictureBuild& build, std::size_t first, std::size_t last,
              const OutputPolicy& policy, const std::string& folder);
void GenLargePic(const PictureBuild& build, std::size_t first, std::size_t last,
                 const OutputPolicy& policy, const std::string& folder);

// The thumbnail and large-picture steps of a gallery build: check the destination, prepare
// its "thumb" or "pic" folder and run the generator over every picture. A blank or missing
// destination is reported as a notice and nothing is written; the result says whether the
// step ran.
bool buildThumbnails(const PictureBuild& build, const OutputPolicy& policy);
bool buildLargePictures(const PictureBuild& build, const OutputPolicy& policy);

} // namespace vellumar
