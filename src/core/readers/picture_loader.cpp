#include "picture_loader.h"

#include <cstdint>
#include <utility>
#include <vector>

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

// What the file's bytes tell; pictures whose decoder turns them itself need no more turning.
PictureMetadata metadataOf(const ReaderClass& reader, Bytes bytes) {
    PictureMetadata metadata = readEmbeddedMetadata(bytes);
    if (reader.decoder->turnsByItself()) {
        metadata.orientation = 1;
    }
    return metadata;
}

[[noreturn]] void failFor(const std::string& path, const ProjectError& error) {
    throw ProjectError("Cannot read picture " + path + ": " + error.what());
}

} // namespace

PictureFile::PictureFile(std::string path, const PictureFormatRegistry& registry)
    : m_path(std::move(path)) {
    registry.readerFor(m_path); // an unknown extension fails before the file is touched
    m_bytes = readFileBytes(m_path, SIZE_MAX);
    m_reader = &chooseReader(m_path, m_bytes, registry);
    m_jpeg = dynamic_cast<const JpegReader*>(m_reader->decoder.get());
}

PictureSize PictureFile::probe() const {
    try {
        return m_reader->decoder->probe({m_bytes, m_path});
    } catch (const ProjectError& error) {
        failFor(m_path, error);
    }
}

MemoryBudget::Reservation PictureFile::reserveDecode(MemoryBudget& budget, int reduction,
                                                     int copies) const {
    PictureSize size = probe();
    if (m_jpeg && reduction != 1) {
        size = {(size.width + reduction - 1) / reduction,
                (size.height + reduction - 1) / reduction};
    }
    const std::uint64_t once = m_reader->decoder->decodeMemory({m_bytes, m_path}, size);
    return budget.reserve(m_path, size, once + (copies - 1) * rgbBytes(size));
}

Bitmap PictureFile::decode(int reduction) const {
    try {
        const PictureSource source{m_bytes, m_path};
        Bitmap bitmap = m_jpeg && reduction != 1 ? m_jpeg->decodeReduced(source, reduction)
                                                 : m_reader->decoder->decode(source);
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
    return metadataOf(*m_reader, m_bytes);
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
                return metadataOf(reader, prefix);
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
    std::vector<std::uint8_t> bytes = readFileBytes(path, kProbePrefix);
    const ReaderClass& reader = chooseReader(path, bytes, registry);
    const auto shown = [&](PictureSize size) {
        return autoRotate ? sizeAsCameraHeld(size, metadataOf(reader, bytes).orientation) : size;
    };
    try {
        return shown(reader.decoder->probe({bytes, path}));
    } catch (const ProjectError& error) {
        if (bytes.size() < kProbePrefix) {
            failFor(path, error); // the whole file was read already
        }
    }
    bytes = readFileBytes(path, SIZE_MAX);
    try {
        return shown(reader.decoder->probe({bytes, path}));
    } catch (const ProjectError& error) {
        failFor(path, error);
    }
}

} // namespace vellumar
