#include "picture_loader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "project_error.h"

namespace vellumar {

namespace {

// Enough for the header of every format we read, EXIF blocks in front of a JPEG frame
// header included; files whose header lies further in are read whole.
constexpr std::size_t kProbePrefix = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t limit) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw ProjectError("Cannot open file " + path + ": " + std::strerror(errno));
    }
    std::vector<std::uint8_t> bytes;
    std::size_t filled = 0;
    while (filled < limit) {
        // Grow geometrically so a large file is read in a few calls.
        bytes.resize(std::min(limit, std::max<std::size_t>(filled * 2, kProbePrefix)));
        const std::size_t got =
            std::fread(bytes.data() + filled, 1, bytes.size() - filled, file.get());
        filled += got;
        if (filled < bytes.size()) {
            if (std::ferror(file.get())) {
                throw ProjectError("Cannot read file " + path + ": " + std::strerror(errno));
            }
            break;
        }
    }
    bytes.resize(filled);
    return bytes;
}

namespace {

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
