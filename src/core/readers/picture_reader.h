#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "colour/colour_description.h"
#include "file_io.h"
#include "imaging/bitmap.h"
#include "readers/picture_size_check.h"

namespace vellumar {

using Bytes = std::span<const std::uint8_t>;

inline std::uint64_t pixelCount(PictureSize size) {
    return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height);
}
// The bytes of a 24-bit bitmap of this size.
inline std::uint64_t rgbBytes(PictureSize size) {
    return pixelCount(size) * 3;
}
// What a decode takes that goes through a library's whole RGBA picture before laying it onto
// white: both at once.
inline std::uint64_t rgbaThenRgbBytes(PictureSize size) {
    return pixelCount(size) * 7;
}

// What a reader is given: the whole file in memory, and its path for readers that look at
// files beside it (a palette file) or name it in messages. The path may be empty. A reader
// that readsInPieces may instead be given the open file, with only its first bytes in
// memory: at least what sniffing and the header need.
struct PictureSource {
    Bytes bytes;
    std::string path;
    const ReadOnlyFile* file = nullptr;
    // The colours a reader that convertsColour delivers.
    ColourSpace colourSpace = ColourSpace::Srgb;
};

// How a read picture becomes a bitmap.
enum class ReaderKind {
    Bitmap, // decodes to a bitmap, possibly with a palette, that is used as it is
    Jpeg,   // decodes to 24-bit RGB; a JPEG file is taken over unchanged when converted
    Other,  // drawn onto white (icons and metafiles)
};

// The decoder of one picture format. Readers keep no state between calls; every size,
// offset and count is checked against the data, and every failure is a ProjectError whose
// text says what is wrong with the data.
class PictureReader {
public:
    virtual ~PictureReader() = default;

    // Whether the bytes look like this format (a cheap look at the signature).
    virtual bool sniff(Bytes bytes) const = 0;
    // Width and height from the header alone.
    virtual PictureSize probe(const PictureSource& source) const = 0;
    // The whole picture.
    virtual Bitmap decode(const PictureSource& source) const = 0;
    // The memory decode takes at its peak for the source, whose probe gave size: the 24-bit
    // bitmap (a palette bitmap keeps room to become one), plus what the reader holds beside
    // it.
    virtual std::uint64_t decodeMemory(const PictureSource& /*source*/, PictureSize size) const {
        return rgbBytes(size);
    }
    // Whether the reader takes the file open instead of in memory (PictureSource::file), so
    // that a big picture is not held twice, once as file and once as pixels.
    virtual bool readsInPieces() const { return false; }
    // Whether decode and probe already turn the picture as its own orientation data says,
    // so that its EXIF orientation must not turn it again.
    virtual bool turnsByItself() const { return false; }
    // How the file says its colours are to be understood (an embedded profile, its gamma
    // and primaries), from its header; a reader that knows nothing says sRGB.
    virtual ColourDescription colour(const PictureSource& /*source*/) const {
        return ColourDescription::srgb();
    }
    // Whether decode delivers the source's colourSpace itself, because its samples do not
    // fit 8-bit RGB (CMYK, more than 8 bits) and are converted before they are cut down.
    // Otherwise decode gives the file's own colours, which the loader converts.
    virtual bool convertsColour(const PictureSource& /*source*/) const { return false; }
};

} // namespace vellumar
