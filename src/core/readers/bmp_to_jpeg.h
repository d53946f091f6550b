#pragma once

#include <string>

#include "readers/format_registry.h"

namespace vellumar {

// Turns one picture file into a JPEG file. The builders set both paths right before each
// Convert().
class TBmpToJpeg {
public:
    explicit TBmpToJpeg(const PictureFormatRegistry& registry) : m_registry(registry) {}

    std::string BmpFile;  // the picture to read, in any readable format
    std::string JpegFile; // the JPEG to write

    // Writes JpegFile from BmpFile: a file its reader reads as JPEG data is copied byte for
    // byte, anything else is decoded and encoded at quality 90. JpegFile is replaced only by
    // a complete new file; when the conversion fails an earlier file stays and no partial one
    // is left.
    void Convert();

private:
    const PictureFormatRegistry& m_registry;
};

// One conversion with a converter of its own, for callers that only have two paths.
void convertToJpeg(const std::string& pictureFile, const std::string& jpegFile,
                   const PictureFormatRegistry& registry);

} // namespace vellumar
