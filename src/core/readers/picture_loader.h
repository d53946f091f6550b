#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "colour/colour_description.h"
#include "file_io.h"
#include "imaging/bitmap.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_size.h"
#include "readers/format_registry.h"
#include "readers/picture_metadata.h"

namespace vellumar {

class JpegReader;

// A picture file with the reader chosen for it (as readPictureFile chooses), for callers that
// look at its header before they decide how to decode it. The file is read into memory,
// unless its reader readsInPieces: then it stays open and only its first bytes are read.
// Fails as readPictureFile does.
class PictureFile {
public:
    PictureFile(std::string path, const PictureFormatRegistry& registry);

    // Whether its reader takes the file for JPEG data, which a conversion to JPEG copies.
    bool readsAsJpeg() const { return m_reader->kind == ReaderKind::Jpeg; }
    // The whole file as it was read: only its first bytes when its reader readsInPieces.
    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    // Whether the picture can be reduced while it is decoded, which only a JPEG can.
    bool decodesReduced() const { return m_jpeg != nullptr; }
    // Width and height from the header.
    PictureSize probe() const;
    // Takes from the budget the memory decode(reduction) needs, judged from the header and
    // counting the file's bytes held in memory, so that a picture too large for it is
    // refused before its pixels are allocated; copies counts the full pictures the caller
    // will hold at once, and extraBytes what else it will hold beside them. Hold the
    // reservation as long as the decoded picture lives.
    MemoryBudget::Reservation reserveDecode(MemoryBudget& budget, int reduction = 1, int copies = 1,
                                            std::uint64_t extraBytes = 0) const;
    // How the file says its colours are to be understood.
    const ColourDescription& colour() const;
    // The picture in the colour space; with a reduction of 2, 4 or 8 (for a picture that
    // decodesReduced) each side is divided by it and rounded up. Colours are converted at
    // the size decoded. A description that cannot be used (a damaged profile) leaves the
    // colours as sRGB.
    Bitmap decode(int reduction = 1, ColourSpace space = ColourSpace::Srgb) const;
    // Whether decode converts the colours after its reader is done, which a caller that makes
    // smaller pictures of it may do on those instead (convertColours), for fewer pixels.
    bool convertsAfterDecoding(ColourSpace space) const;
    // The picture as decode gives it, but with its colours as the file holds them when decode
    // would convert them after its reader.
    Bitmap decodeUnconverted(int reduction = 1, ColourSpace space = ColourSpace::Srgb) const;
    // The whole picture for a caller that decodes one picture on its own: refused as
    // reserveDecode refuses it when it needs more than the default memory limit.
    Bitmap decodeWithinDefaultLimit() const;
    // What the file tells about itself. The orientation is 1 for formats whose decoder turns
    // the picture itself.
    PictureMetadata metadata() const;

private:
    PictureSource source() const;

    std::string m_path;
    std::optional<ReadOnlyFile> m_file; // kept open for a reader that readsInPieces
    std::vector<std::uint8_t> m_bytes;
    const ReaderClass* m_reader = nullptr;
    const JpegReader* m_jpeg = nullptr;
    mutable std::optional<ColourDescription> m_colour; // read when first asked for
};

// Reads a picture file with the reader its extension selects. A file that plainly holds
// another registered format (a PNG saved as ".jpg") is read by that format's reader.
// Failures name the file: "Cannot read picture <path>: <what is wrong>", or the budget's
// refusal of a picture whose decode needs more than the default memory limit.
Bitmap readPictureFile(const std::string& path, const PictureFormatRegistry& registry);

// What a picture file tells about itself (PictureFile::metadata); nothing for a file that
// cannot be read.
PictureMetadata readPictureMetadata(const std::string& path, const PictureFormatRegistry& registry);

// Width and height from the file's header, reading as little of the file as it can. With
// autoRotate, the size the picture has once turned as the camera was held.
PictureSize probePictureFile(const std::string& path, const PictureFormatRegistry& registry,
                             bool autoRotate = false);

} // namespace vellumar
