#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vellumar {

// The JPEG data with nothing beside the picture but iccProfile, when one is given: the
// tables, frame, restart interval and scans, with their coded data, are copied byte for byte,
// and of the application segments only the JFIF header (without its preview picture) and the
// Adobe marker, which says how the colours are stored; EXIF, XMP, IPTC, maker notes,
// previews, colour profiles and comments are left out. The profile goes in APP2 segments after
// the JFIF header and the Adobe marker, where libjpeg puts it too.
//
// Nothing when the data cannot be copied so: a segment or the scan data runs past the end,
// bytes stand where a marker belongs, the end-of-image marker is missing, the picture is
// arithmetic-coded (which browsers do not decode), or the profile needs more than 255
// segments. Whether the coded data itself is sound is the decoder's to say.
std::optional<std::vector<std::uint8_t>>
keepDecodingSegments(std::span<const std::uint8_t> jpeg, std::span<const std::uint8_t> iccProfile);

} // namespace vellumar
