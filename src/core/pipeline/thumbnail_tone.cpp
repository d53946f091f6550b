#include "thumbnail_tone.h"

#include "file_io.h"
#include "project_error.h"
#include "readers/jpeg_reader.h"

namespace vellumar {

namespace {

// Far above any thumbnail, double-size ones included: a larger picture is not one.
constexpr std::size_t kMaxThumbnailBytes = 16 * 1024 * 1024;
constexpr std::uint64_t kMaxThumbnailPixels = 2048 * 2048;

Color meanColour(const Bitmap& picture) {
    std::uint64_t sums[3] = {0, 0, 0};
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint8_t* row = picture.row(y);
        for (int x = 0; x < picture.width() * 3; ++x) {
            sums[x % 3] += row[x];
        }
    }
    const std::uint64_t count =
        static_cast<std::uint64_t>(picture.width()) * static_cast<std::uint64_t>(picture.height());
    const auto mean = [count](std::uint64_t sum) {
        return static_cast<unsigned>((sum + count / 2) / count);
    };
    return makeColor(mean(sums[0]), mean(sums[1]), mean(sums[2]));
}

} // namespace

std::optional<Color> thumbnailTone(const std::vector<std::uint8_t>& jpeg, const std::string& path) {
    try {
        const JpegReader reader;
        const PictureSource source{jpeg, path};
        const PictureSize size = reader.probe(source);
        if (static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height) >
            kMaxThumbnailPixels) {
            return std::nullopt;
        }
        Bitmap picture = reader.decode(source);
        picture.convertToRgb24();
        if (picture.isEmpty()) {
            return std::nullopt;
        }
        return meanColour(picture);
    } catch (const ProjectError&) {
        return std::nullopt;
    }
}

std::optional<Color> thumbnailFileTone(const std::string& path) {
    try {
        return thumbnailTone(readFileBytes(path, kMaxThumbnailBytes), path);
    } catch (const ProjectError&) {
        return std::nullopt;
    }
}

} // namespace vellumar
