#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "atomic_file.h"
#include "bench_picture.h"
#include "colour/colour_conversion.h"
#include "file_io.h"
#include "imaging/averaged_stretch.h"
#include "imaging/crop.h"
#include "imaging/filtered_stretch.h"
#include "imaging/jpeg_pass_through.h"
#include "imaging/jpeg_writer.h"
#include "imaging/raster.h"
#include "imaging/rotate.h"
#include "pipeline/picture_render.h"
#include "project_error.h"
#include "readers/picture_loader.h"
#include "readers/reader_table.h"

namespace vellumar::bench {
namespace {

// Made once, before the first timed loop asks for it.
const Bitmap& picture() {
    static const Bitmap bitmap = makeBenchPicture();
    return bitmap;
}

void countPixels(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * kBenchWidth * kBenchHeight);
}

// Exact-size stretches: a large picture (800 x 600) and a thumbnail (160 x 120).
void BM_FilteredStretch(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const Bitmap& source = picture();
    for (auto _ : state) {
        const Bitmap target =
            FilteredStretch(width, width * 3 / 4, ResampleFilter::Triangle, 0, source);
        benchmark::DoNotOptimize(target.row(0));
    }
    countPixels(state);
}
BENCHMARK(BM_FilteredStretch)->Arg(800)->Arg(160)->Unit(benchmark::kMillisecond);

void BM_StretchUnblended(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const Bitmap& source = picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(stretchUnblended(source, width, width * 3 / 4));
    }
    countPixels(state);
}
BENCHMARK(BM_StretchUnblended)->Arg(800)->Arg(160)->Unit(benchmark::kMillisecond);

void BM_Crop(benchmark::State& state) {
    const Bitmap& source = picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crop(source, CropAlign::Center, 3000, 2000));
    }
    countPixels(state);
}
BENCHMARK(BM_Crop)->Unit(benchmark::kMillisecond);

void BM_Rotate(benchmark::State& state) {
    const auto angle = static_cast<int>(state.range(0));
    const Bitmap& source = picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Rotate(source, angle));
    }
    countPixels(state);
}
BENCHMARK(BM_Rotate)->Arg(90)->Arg(180)->Arg(270)->Unit(benchmark::kMillisecond);

void BM_JpegEncode(benchmark::State& state) {
    const Bitmap& source = picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodeJpeg(source));
    }
    countPixels(state);
}
BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);

// Up to four photographs from the folder VELLUMAR_BENCH_PHOTOS names (default /tmp/photos),
// landscape and portrait alike; empty when there are none.
const std::vector<std::filesystem::path>& photoPaths() {
    static const std::vector<std::filesystem::path> chosen = [] {
        const char* folder = std::getenv("VELLUMAR_BENCH_PHOTOS");
        std::vector<std::filesystem::path> paths;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(folder ? folder : "/tmp/photos", error)) {
            if (entry.path().extension() == ".jpg") {
                paths.push_back(entry.path());
            }
        }
        std::sort(paths.begin(), paths.end());
        std::vector<std::filesystem::path> some;
        for (std::size_t i = 0; i < paths.size() && some.size() < 4; i += paths.size() / 4 + 1) {
            some.push_back(paths[i]);
        }
        return some;
    }();
    return chosen;
}

// The photographs of photoPaths, decoded once.
const std::vector<Bitmap>& photos() {
    static const std::vector<Bitmap> decoded = [] {
        std::vector<Bitmap> bitmaps;
        for (const auto& path : photoPaths()) {
            bitmaps.push_back(readPictureFile(path.string(), pictureFormats()));
        }
        return bitmaps;
    }();
    return decoded;
}

// Each coding of the same photographs at their own size, as large pictures kept at their own
// size are written: 0 standard tables, 1 fitted tables, 2 progressive. The bytes counter is
// what one photograph comes to on average.
void BM_JpegCoding(benchmark::State& state) {
    const std::vector<Bitmap>& bitmaps = photos();
    if (bitmaps.empty()) {
        state.SkipWithError("no photographs: set VELLUMAR_BENCH_PHOTOS to a folder of JPEG files");
        return;
    }
    const auto coding = static_cast<JpegCoding>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const Bitmap& bitmap : bitmaps) {
            bytes += encodeJpeg(bitmap, coding).size();
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes) / static_cast<double>(bitmaps.size());
    state.counters["photos"] = static_cast<double>(bitmaps.size());
}
BENCHMARK(BM_JpegCoding)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same photographs' own JPEG data passed through at their own size, as a large picture
// kept at its own size is when it needs neither resizing nor a frame: 0 as they stand, 1 with
// the quarter turn their size allows (whole blocks of 16 rows or columns on the side that
// moves), 2 decoded and encoded again as the build does without it. bytes: what one
// photograph comes to on average; source: its own bytes on average.
void BM_JpegPassThrough(benchmark::State& state) {
    std::vector<std::vector<std::uint8_t>> sources;
    for (const auto& path : photoPaths()) {
        sources.push_back(readFileBytes(path.string()));
    }
    if (sources.empty()) {
        state.SkipWithError("no photographs: set VELLUMAR_BENCH_PHOTOS to a folder of JPEG files");
        return;
    }
    const auto mode = state.range(0);
    std::vector<PictureTurn> turns;
    std::size_t sourceBytes = 0;
    for (const auto& source : sources) {
        const PictureTurn clockwise{6, 0};
        const PictureTurn counterClockwise{8, 0};
        turns.push_back(mode != 1                                ? PictureTurn{}
                        : passThroughJpeg(source, clockwise, {}) ? clockwise
                                                                 : counterClockwise);
        sourceBytes += source.size();
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (mode == 2) {
                const Bitmap decoded = readPictureFile(photoPaths()[i].string(), pictureFormats());
                bytes +=
                    encodeJpeg(decoded, jpegCodingFor({decoded.width(), decoded.height()}, true))
                        .size();
                continue;
            }
            const auto passed = passThroughJpeg(sources[i], turns[i], {});
            if (!passed) {
                state.SkipWithError("a photograph cannot be passed through");
                return;
            }
            bytes += passed->size();
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes) / static_cast<double>(sources.size());
    state.counters["source"] =
        static_cast<double>(sourceBytes) / static_cast<double>(sources.size());
    state.counters["photos"] = static_cast<double>(sources.size());
}
BENCHMARK(BM_JpegPassThrough)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The picture as a JPEG file, written for one benchmark and removed after it.
// The picture as a JPEG file, written for one benchmark and removed after it; with a profile,
// tagged with it.
class BenchJpegFile {
public:
    explicit BenchJpegFile(std::span<const std::uint8_t> profile = {})
        : m_path((std::filesystem::temp_directory_path() /
                  ("vellumar-bench-" + std::to_string(::getpid()) + ".jpg"))
                     .string()) {
        writeFileAtomically(m_path, encodeJpeg(picture(), profile));
    }
    ~BenchJpegFile() { std::remove(m_path.c_str()); }
    BenchJpegFile(const BenchJpegFile&) = delete;
    BenchJpegFile& operator=(const BenchJpegFile&) = delete;

    const std::string& path() const { return m_path; }
    // Whether our reader takes the file; the benchmark is skipped with the reason if not.
    bool readable(benchmark::State& state) const {
        try {
            readPictureFile(m_path, pictureFormats());
            return true;
        } catch (const ProjectError& error) {
            state.SkipWithError(error.what());
            return false;
        }
    }

private:
    std::string m_path;
};

// Reads the picture back from a JPEG file through the format registry.
void BM_JpegDecode(benchmark::State& state) {
    const BenchJpegFile file;
    if (!file.readable(state)) {
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPictureFile(file.path(), pictureFormats()));
    }
    countPixels(state);
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

// The same file decoded at a half, a quarter and an eighth of its size.
void BM_JpegDecodeReduced(benchmark::State& state) {
    const BenchJpegFile file;
    if (!file.readable(state)) {
        return;
    }
    const auto reduction = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const PictureFile picture(file.path(), pictureFormats());
        benchmark::DoNotOptimize(picture.decode(reduction));
    }
    countPixels(state);
}
BENCHMARK(BM_JpegDecodeReduced)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The aspect-keeping reduction of smooth scaling, to the sizes of the other scales above.
void BM_StretchAveraged(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const Bitmap& source = picture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(stretchAveraged(source, width, width * 3 / 4));
    }
    countPixels(state);
}
BENCHMARK(BM_StretchAveraged)->Arg(800)->Arg(160)->Unit(benchmark::kMillisecond);

// A photograph as a JPEG decode at half its size gives it.
const Bitmap& halfSizePicture() {
    static const Bitmap bitmap = stretchAveraged(picture(), kBenchWidth / 2, kBenchHeight / 2);
    return bitmap;
}

// The responsive copies of a photograph kept as it is (1920, 1280 and 640 pixels wide), each
// averaged from the next wider one, the widest from the decode at half size.
void BM_ResponsiveCopyChain(benchmark::State& state) {
    for (auto _ : state) {
        const Bitmap* from = &halfSizePicture();
        Bitmap copies[3];
        int index = 0;
        for (const int width : {1920, 1280, 640}) {
            copies[index] = stretchAveraged(*from, width, width * 3 / 4);
            from = &copies[index++];
        }
        benchmark::DoNotOptimize(copies);
    }
}
BENCHMARK(BM_ResponsiveCopyChain)->Unit(benchmark::kMillisecond);

// One step of that chain, from the first width to the second; the last case is the average
// a 200-pixel thumbnail starts from.
void BM_CopyStep(benchmark::State& state) {
    const auto fromWidth = static_cast<int>(state.range(0));
    const auto toWidth = static_cast<int>(state.range(1));
    const Bitmap from = stretchAveraged(halfSizePicture(), fromWidth, fromWidth * 3 / 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(stretchAveraged(from, toWidth, toWidth * 3 / 4));
    }
}
BENCHMARK(BM_CopyStep)
    ->Args({2000, 1920})
    ->Args({1920, 1280})
    ->Args({1280, 640})
    ->Args({2000, 400})
    ->Unit(benchmark::kMillisecond);

// What a build does with one photograph: a 100-pixel thumbnail and a 600-pixel large
// picture from one decode, all encoded, with smooth scaling on (1) and off (0), and without
// (0) and with (1) the thumbnail's double-size version.
void BM_RenderPicture(benchmark::State& state) {
    const BenchJpegFile file;
    if (!file.readable(state)) {
        return;
    }
    RenderRequest request;
    request.path = file.path();
    request.thumbnail = PictureBox{100, 100, true, 0, kWhite};
    request.largePicture = true;
    request.largePictureBox = PictureBox{600, 600, true, 0, kWhite};
    request.smoothScaling = state.range(0) != 0;
    request.doubleSizeThumbnail = state.range(1) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderPicture(request, pictureFormats()));
    }
    countPixels(state);
}
BENCHMARK(BM_RenderPicture)
    ->Args({1, 0})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

// The same render of a photograph untagged (0), tagged Display P3 and made in sRGB (1), and
// tagged Display P3 and kept in it with WideGamut (2): what honouring a profile costs.
void BM_RenderTaggedPicture(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const BenchJpegFile file(kind == 0 ? std::span<const std::uint8_t>()
                                       : embeddedProfileOf(ColourSpace::DisplayP3));
    if (!file.readable(state)) {
        return;
    }
    RenderRequest request;
    request.path = file.path();
    request.thumbnail = PictureBox{100, 100, true, 0, kWhite};
    request.largePicture = true;
    request.largePictureBox = PictureBox{600, 600, true, 0, kWhite};
    request.wideGamut = kind == 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderPicture(request, pictureFormats()));
    }
    countPixels(state);
}
BENCHMARK(BM_RenderTaggedPicture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumar::bench

BENCHMARK_MAIN();
