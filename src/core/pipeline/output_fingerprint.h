#pragma once

#include <optional>
#include <string>

#include "pipeline/picture_render.h"

namespace vellumar {

// Everything that shapes one output picture, as one text: the source file as the file
// system knows it (path, size, modification time to the nanosecond, inode), every choice of
// the request that the output depends on, and the program that renders it. Two equal
// fingerprints render to the same bytes. Nothing when the source cannot be looked at, so
// that rendering it meets the error.
std::optional<std::string> thumbnailFingerprint(const RenderRequest& request);
std::optional<std::string> doubleSizeThumbnailFingerprint(const RenderRequest& request);
std::optional<std::string> largePictureFingerprint(const RenderRequest& request);
std::optional<std::string> extraOutputFingerprint(const RenderRequest& request,
                                                  const ExtraOutput& output);

} // namespace vellumar
