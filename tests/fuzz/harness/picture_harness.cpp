#include "harness/picture_harness.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>

#include "imaging/jpeg_pass_through.h"
#include "project_error.h"
#include "readers/picture_loader.h"

namespace vellumar::fuzzing {

namespace {

constexpr std::int64_t kMostDecodedPixels = std::int64_t{1} << 20;

bool worthDecoding(const PictureSize& size) {
    return std::int64_t{size.width} * size.height <= kMostDecodedPixels;
}

std::string writeInputFile(const std::string& extension, Bytes bytes) {
    const std::string path = "/tmp/vellumar-fuzz-" + std::to_string(::getpid()) + "." + extension;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

} // namespace

std::vector<FormatTarget> formatTargets(const PictureFormatRegistry& registry) {
    std::vector<FormatTarget> targets;
    for (const FormatRow& row : registry.rows()) {
        bool known = false;
        for (const FormatTarget& target : targets) {
            known = known || target.reader == row.reader;
        }
        if (!known) {
            targets.push_back({row.extension, row.reader});
        }
    }
    return targets;
}

void keepToOurOwnCode() {
    ::setenv("PATH", "", 1);
}

void decodeWithReader(const PictureReader& reader, Bytes bytes) {
    const PictureSource source{bytes, "fuzz"};
    reader.sniff(bytes);
    // What the header says of the colours, a damaged profile included, never fails.
    colourName(reader.colour(source));
    reader.convertsColour(source);
    std::optional<PictureSize> probed;
    try {
        probed = reader.probe(source);
        if (!worthDecoding(*probed)) {
            return;
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
}

void loadAsFile(const PictureFormatRegistry& registry, const std::string& extension, Bytes bytes) {
    std::optional<PictureFile> file;
    try {
        file.emplace(writeInputFile(extension, bytes), registry);
    } catch (const ProjectError&) {
        return;
    }
    file->metadata();
    std::optional<PictureSize> probed;
    try {
        probed = file->probe();
        if (!worthDecoding(*probed)) {
            return;
        }
    } catch (const ProjectError&) {
    }
    try {
        const Bitmap picture = file->decode();
        if (probed && (probed->width != picture.width() || probed->height != picture.height())) {
            std::abort();
        }
    } catch (const ProjectError&) {
    }
}

void loadAnyFormat(const PictureFormatRegistry& registry, Bytes bytes) {
    static const std::vector<FormatTarget> targets = formatTargets(registry);
    if (bytes.empty()) {
        return;
    }
    loadAsFile(registry, targets[bytes[0] % targets.size()].name, bytes.subspan(1));
}

void passThroughJpegBytes(Bytes bytes) {
    // The length picks the turn, so that any JPEG is a seed as it is: bytes after its end
    // change the turn and nothing else.
    const auto length = static_cast<int>(bytes.size() % 32);
    const PictureTurn turn{length % 8 + 1, length / 8};
    // Like the decodes, pictures of valid but large sizes only slow the search down.
    constexpr std::uint64_t kMostMemory = std::uint64_t{64} << 20;
    if (passThroughMemory(bytes, turn) > kMostMemory) {
        return;
    }
    const auto passed = passThroughJpeg(bytes, turn, {});
    if (passed && passThroughJpeg(*passed, {}, {}) != passed) {
        std::abort();
    }
}

} // namespace vellumar::fuzzing
