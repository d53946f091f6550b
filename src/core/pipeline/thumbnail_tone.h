#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "color.h"

namespace vellumar {

// The colour a thumbnail's place shows while the thumbnail loads: the mean of its pixels as
// decoded from its JPEG data (a thumbnail decodes in well under a millisecond). It is worked
// out from the thumbnail's bytes whether they were made now or by an earlier build, so both
// give the same page. Nothing when the data is no JPEG a thumbnail could be (the user may
// keep any file of that name).
std::optional<Color> thumbnailTone(const std::vector<std::uint8_t>& jpeg, const std::string& path);
// The same for the thumbnail file at path; nothing when it cannot be read.
std::optional<Color> thumbnailFileTone(const std::string& path);

} // namespace vellumar
