#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "project_error.h"
#include "readers/picture_reader.h"

namespace vellumar::fuzzing {

// Pictures the probe finds larger than this are not decoded by default: they are valid
// sizes, and filling them only slows the search down.
inline constexpr std::int64_t kMostDecodedPixels = std::int64_t{1} << 20;

// Sniffs, probes and decodes the input; a ProjectError is the expected answer to bad data,
// anything else (a crash, a sanitizer report, a probe that disagrees with the decode) is a
// finding.
inline int probeAndDecode(const PictureReader& reader, const std::uint8_t* data, std::size_t size,
                          std::int64_t mostDecodedPixels = kMostDecodedPixels) {
    const PictureSource source{{data, size}, "fuzz"};
    reader.sniff(source.bytes);
    std::optional<PictureSize> probed;
    try {
        probed = reader.probe(source);
        if (std::int64_t{probed->width} * probed->height > mostDecodedPixels) {
            return 0;
        }
    } catch (const ProjectError&) {
    }
    try {
        const Bitmap picture = reader.decode(source);
        if (probed && (probed->width != picture.width() || probed->height != picture.height())) {
            std::abort();
        }
    } catch (const ProjectError&) {
    }
    return 0;
}

} // namespace vellumar::fuzzing
