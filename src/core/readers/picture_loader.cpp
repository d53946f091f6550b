#include "picture_loader.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "colour/colour_conversion.h"
#include "file_io.h"
#include "imaging/camera_orientation.h"
#include "project_error.h"
#include "readers/jpeg_reader.h"

namespace vellumar {

namespace {

// Enough for the header of every format we read, EXIF blocks in front of a JPEG frame
// header included; files whose header lies further in are read whole.
constexpr std::size_t kProbePrefix = 64 * 1024;
// Room for the metadata segments of a camera's JPEG (EXIF with its preview, XMP, a colour
// profile) ahead of the picture data.
constexpr std::size_t kMetadataPrefix = 256 * 1024;

// The reader the extension selects, unless the bytes plainly belong to another format.
const ReaderClass& chooseReader(const std::string& path, Bytes bytes,
                                const PictureFormatRegistry& registry) {
    const ReaderClass& byExtension = registry.readerFor(path);
    if (byExtension.decoder && byExtension.decoder->sniff(bytes)) {
        return byExtension;
    }
    const ReaderClass* bySignature = registry.readerBySignature(bytes);
    return bySignature ? *bySignature : byExtension;
}

// What the file tells, from its bytes in memory or, when the reader readsInPieces, from the
// file; pictures whose decoder turns them itself need no more turning.
PictureMetadata metadataOf(const ReaderClass& reader, const PictureSource& source) {
    PictureMetadata metadata =
        source.file ? readEmbeddedMetadataOfFile(source.path) : readEmbeddedMetadata(source.bytes);
    if (reader.decoder->turnsByItself()) {
        metadata.orientation = 1;
    }
    return metadata;
}

// The file's first bytes, enough to choose its reader and read every format's header, EXIF
// blocks in front of a JPEG frame header included.
std::vector<std::uint8_t> firstBytes(const ReadOnlyFile& file) {
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(kProbePrefix, file.size()));
    bytes.resize(file.readAt(0, bytes));
    return bytes;
}

// Reads the rest of the file after the first bytes already held.
void readRest(const ReadOnlyFile& file, std::vector<std::uint8_t>& bytes) {
    const std::size_t first = bytes.size();
    bytes.resize(file.size());
    bytes.resize(first + file.readAt(first, std::span(bytes).subspan(first)));
}

[[noreturn]] void failFor(const std::string& path, const ProjectError& error) {
    throw ProjectError("Cannot read picture " + path + ": " + error.what());
}

} // namespace

PictureFile::PictureFile(std::string path, const PictureFormatRegistry& registry)
    : m_path(std::move(path)) {
    registry.readerFor(m_path); // an unknown extension fails before the file is touched
    ReadOnlyFile file(m_path);
    m_bytes = firstBytes(file);
    m_reader = &chooseReader(m_path, m_bytes, registry);
    if (m_reader->decoder->readsInPieces()) {
        m_file.emplace(std::move(file));
    } else {
        readRest(file, m_bytes);
        // Some formats are told apart by what ends the file.
        m_reader = &chooseReader(m_path, m_bytes, registry);
    }
    m_jpeg = dynamic_cast<const JpegReader*>(m_reader->decoder.get());
}

PictureSource PictureFile::source() const {
    return {m_bytes, m_path, m_file ? &*m_file : nullptr};
}

PictureSize PictureFile::probe() const {
    try {
        return m_reader->decoder->probe(source());
    } catch (const ProjectError& error) {
        failFor(m_path, error);
    }
}

MemoryBudget::Reservation PictureFile::reserveDecode(MemoryBudget& budget, int reduction,
                                                     int copies, std::uint64_t extraBytes) const {
    PictureSize size = probe();
    if (m_jpeg && reduction != 1) {
        size = {(size.width + reduction - 1) / reduction,
                (size.height + reduction - 1) / reduction};
    }
    // The file's bytes in memory stay there while it decodes.
    const std::uint64_t once = m_reader->decoder->decodeMemory(source(), size) + m_bytes.size();
    return budget.reserve(m_path, size, once + (copies - 1) * rgbBytes(size) + extraBytes);
}

const ColourDescription& PictureFile::colour() const {
    if (!m_colour) {
        m_colour = m_reader->decoder->colour(source());
    }
    return *m_colour;
}

Bitmap PictureFile::decode(int reduction, ColourSpace space) const {
    Bitmap bitmap = decodeUnconverted(reduction, space);
    if (convertsAfterDecoding(space)) {
        convertColours(bitmap, colour(), space);
    }
    return bitmap;
}

bool PictureFile::convertsAfterDecoding(ColourSpace space) const {
    PictureSource wanted = source();
    wanted.colourSpace = space;
    return !m_reader->decoder->convertsColour(wanted);
}

Bitmap PictureFile::decodeUnconverted(int reduction, ColourSpace space) const {
    try {
        PictureSource wanted = source();
        wanted.colourSpace = space;
        Bitmap bitmap = m_jpeg && reduction != 1 ? m_jpeg->decodeReduced(wanted, reduction)
                                                 : m_reader->decoder->decode(wanted);
        if (m_reader->kind != ReaderKind::Bitmap) {
            bitmap.convertToRgb24();
        }
        return bitmap;
    } catch (const ProjectError& error) {
        failFor(m_path, error);
    }
}

Bitmap PictureFile::decodeWithinDefaultLimit() const {
    MemoryBudget budget;
    const MemoryBudget::Reservation memory = reserveDecode(budget);
    return decode();
}

PictureMetadata PictureFile::metadata() const {
    return metadataOf(*m_reader, source());
}

PictureMetadata readPictureMetadata(const std::string& path,
                                    const PictureFormatRegistry& registry) {
    try {
        // A JPEG keeps its metadata in the segments ahead of its picture data: when its header
        // can be read from the first bytes alone, those bytes hold all of it, and a rebuild
        // that only needs the metadata does not read whole photographs again.
        const std::vector<std::uint8_t> prefix = readFileBytes(path, kMetadataPrefix);
        const ReaderClass& reader = chooseReader(path, prefix, registry);
        if (dynamic_cast<const JpegReader*>(reader.decoder.get()) != nullptr) {
            try {
                reader.decoder->probe({prefix, path});
                return metadataOf(reader, {prefix, path});
            } catch (const ProjectError&) {
                // Segments beyond the prefix: the whole file, as for other formats.
            }
        }
        return PictureFile(path, registry).metadata();
    } catch (const ProjectError&) {
        return {};
    }
}

Bitmap readPictureFile(const std::string& path, const PictureFormatRegistry& registry) {
    return PictureFile(path, registry).decodeWithinDefaultLimit();
}

PictureSize probePictureFile(const std::string& path, const PictureFormatRegistry& registry,
                             bool autoRotate) {
    registry.readerFor(path);
    const ReadOnlyFile file(path);
    std::vector<std::uint8_t> bytes = firstBytes(file);
    const ReaderClass& reader = chooseReader(path, bytes, registry);
    const auto probe = [&](const PictureSource& source) {
        const PictureSize size = reader.decoder->probe(source);
        return autoRotate ? sizeAsCameraHeld(size, metadataOf(reader, source).orientation) : size;
    };
    try {
        return probe({bytes, path, reader.decoder->readsInPieces() ? &file : nullptr});
    } catch (const ProjectError& error) {
        if (bytes.size() == file.size() || reader.decoder->readsInPieces()) {
            failFor(path, error); // the reader had all of the file
        }
    }
    readRest(file, bytes);
    try {
        return probe({bytes, path});
    } catch (const ProjectError& error) {
        failFor(path, error);
    }
}

} // namespace vellumar
