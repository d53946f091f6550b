#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frontend.h"
#include "imaging/bitmap.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"

namespace vellumar {

// The box a picture is shaped to and the frame drawn around it.
struct PictureBox {
    int width = 0;
    int height = 0;
    bool keepRatio = false;
    int borderWidth = 0;
    Color borderColor = kWhite;
};

// The thumbnail box of the settings; sizes below 1 fail with a ProjectError.
PictureBox thumbnailBoxOf(const GallerySettings& settings);
// The large-picture box, or nothing when pictures keep their own size.
std::optional<PictureBox> largePictureBoxOf(const GallerySettings& settings);

// One finished output picture: its size (border included, after rotation) and its JPEG bytes.
struct RenderedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> jpeg;
};

// Load, shape and encode one picture. They depend on nothing but their arguments, so
// several pictures may be rendered at once. The entry's path is trimmed in place.
RenderedPicture renderThumbnail(TImgEntry& entry, const PictureBox& box);
RenderedPicture renderLargePicture(TImgEntry& entry, const std::optional<PictureBox>& box);

// File names of picture number i (from 1).
std::string thumbnailFileName(const GallerySettings& settings, std::size_t i);
std::string largePictureFileName(std::size_t i);

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
