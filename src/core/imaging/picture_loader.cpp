#include "picture_loader.h"

#include <cstdint>
#include <vector>

#include "file_io.h"
#include "project_error.h"

namespace vellumar {

namespace {

// Enough for the header of every format we read, EXIF blocks in front of a JPEG frame
// header included; files whose header lies further in are read whole.
constexpr std::size_t kProbePrefix = 64 * 1024;

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

[[noreturn]] void failFor(const std::string& path, const ProjectError& error) {
    throw ProjectError("Cannot read picture " + path + ": " + error.what());
}

} // namespace

Bitmap readPictureFile(const std::string& path, const PictureFormatRegistry& registry) {
    registry.readerFor(path); // an unknown extension fails before the file is touched
    const std::vector<std::uint8_t> bytes = readFileBytes(path, SIZE_MAX);
    const ReaderClass& reader = chooseReader(path, bytes, registry);
    try {
        Bitmap bitmap = reader.decoder->decode({bytes, path});
        if (reader.kind != ReaderKind::Bitmap) {
            bitmap.convertToRgb24();
        }
        return bitmap;
    } catch (const ProjectError& error) {
        failFor(path, error);
    }
}

PictureSize probePictureFile(const std::string& path, const PictureFormatRegistry& registry) {
    registry.readerFor(path);
    std::vector<std::uint8_t> bytes = readFileBytes(path, kProbePrefix);
    const ReaderClass& reader = chooseReader(path, bytes, registry);
    try {
        return reader.decoder->probe({bytes, path});
    } catch (const ProjectError& error) {
        if (bytes.size() < kProbePrefix) {
            failFor(path, error); // the whole file was read already
        }
    }
    bytes = readFileBytes(path, SIZE_MAX);
    try {
        return reader.decoder->probe({bytes, path});
    } catch (const ProjectError& error) {
        failFor(path, error);
    }
}

} // namespace vellumar
