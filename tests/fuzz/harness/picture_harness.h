#pragma once

#include <string>
#include <vector>

#include "readers/format_registry.h"
#include "readers/picture_reader.h"

namespace vellumar::fuzzing {

// The fuzz targets for pictures: one a reader class, named by the first extension it serves
// (the corpus folder of the target), in registry order.
struct FormatTarget {
    std::string name;
    const ReaderClass* reader = nullptr;
};
std::vector<FormatTarget> formatTargets(const PictureFormatRegistry& registry);

// The harness must not start other programs: PostScript without a preview would be handed to
// Ghostscript, whose bugs are not ours to find, and every run would wait for it.
void keepToOurOwnCode();

// Sniffs, probes and decodes the bytes with one reader. A ProjectError is the expected answer
// to bad data; anything else (a crash, a sanitizer report, a probe that disagrees with the
// decode) is a finding. Pictures the probe finds larger than a megapixel are not decoded:
// they are valid sizes, and filling them only slows the search down.
void decodeWithReader(const PictureReader& reader, Bytes bytes);

// Reads the bytes as a file named with the extension, the way the program loads pictures:
// the extension picks the reader unless the bytes plainly hold another format; then the
// probe, the metadata and (for pictures up to a megapixel) the decode.
void loadAsFile(const PictureFormatRegistry& registry, const std::string& extension, Bytes bytes);

// The registry-driven target: the first byte picks the format, the rest is the file.
void loadAnyFormat(const PictureFormatRegistry& registry, Bytes bytes);

// Passes the bytes through as a JPEG turned as their length picks (its orientation and
// quarter turns). Refusing is the expected answer to bad data; what it gives must pass
// through again unturned as the very same bytes. Pictures that would take more than 64 MB are
// not passed through.
void passThroughJpegBytes(Bytes bytes);

} // namespace vellumar::fuzzing
