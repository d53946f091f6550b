#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "bench_picture.h"
#include "imaging/atomic_file.h"
#include "imaging/crop.h"
#include "imaging/filtered_stretch.h"
#include "imaging/jpeg_writer.h"
#include "imaging/picture_loader.h"
#include "imaging/raster.h"
#include "imaging/rotate.h"
#include "project_error.h"

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
    Bitmap target;
    const Bitmap& source = picture();
    for (auto _ : state) {
        FilteredStretch(width, width * 3 / 4, ResampleFilter::Triangle, 0, source, target);
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
        benchmark::DoNotOptimize(Crop(source, 2, 3000, 2000));
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

// Reads the picture back from a JPEG file through the format registry.
void BM_JpegDecode(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vellumar-bench-" + std::to_string(::getpid()) + ".jpg"))
                                 .string();
    writeFileAtomically(path, encodeJpeg(picture()));
    try {
        readPictureFile(path);
    } catch (const ProjectError& error) {
        std::remove(path.c_str());
        state.SkipWithError(error.what());
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(readPictureFile(path));
    }
    std::remove(path.c_str());
    countPixels(state);
}
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumar::bench

BENCHMARK_MAIN();
