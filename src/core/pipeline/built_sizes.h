#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "color.h"
#include "html/page_context.h"
#include "imaging/picture_size.h"
#include "model/picture_failures.h"
#include "readers/picture_metadata.h"

namespace vellumar {

// The sizes of what a build made of one picture: border included, after rotation. A loop
// that did not reach the picture leaves its size empty.
struct BuiltSizes {
    std::optional<PictureSize> thumbnail;
    std::optional<PictureSize> largePicture;
};

// What the picture loops made: the sizes of picture i + 1, as far as the loops got, what its
// file tells about itself, how many pictures had to be decoded (the others were all already
// there from earlier builds), and the pictures that got placeholders because they could not
// be read.
struct PictureResults {
    std::vector<BuiltSizes> sizes;
    std::vector<PictureMetadata> metadata;
    // The colour of each thumbnail the folder holds, as far as the loops got.
    std::vector<std::optional<Color>> thumbnailTones;
    // What each picture has beside its thumbnails and large picture, as far as the loops got.
    std::vector<PublishedExtras> published;
    std::size_t decodedPictures = 0;
    std::vector<PictureFailure> skipped;
};

} // namespace vellumar
