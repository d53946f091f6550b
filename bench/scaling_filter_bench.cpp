// The filter of smooth scaling, measured: the area average it used, the area average with a
// Lanczos step from twice the size that it uses now, and a triangle (tent) filter, each
// reducing a 12-megapixel picture to a thumbnail (100 px) and to a large picture (600 px). Besides
// the time, each case reports two counters of quality:
//   alias  how far three-pixel stripes come out from their even grey, in levels (the moire
//          that a reduction lets through; 0 is none)
//   edge   how far a hard edge is spread: the grey it leaves, in pixels of middle grey (at
//          most 1 for the sharpest reduction; more is softer)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "bench_picture.h"
#include "imaging/averaged_stretch.h"
#include "imaging/filtered_stretch.h"
#include "imaging/smooth_reduction.h"

namespace vellumar::bench {
namespace {

enum class Filter { Area, Smooth, Triangle };

Bitmap reduce(Filter filter, const Bitmap& source, int width, int height) {
    if (filter == Filter::Area) {
        return stretchAveraged(source, width, height);
    }
    if (filter == Filter::Smooth) {
        return stretchSmoothly(source, {source.width(), source.height()}, 1, width, height);
    }
    return FilteredStretch(width, height, ResampleFilter::Triangle, 0, source);
}

// A picture whose columns are dark, dark, light over and over, or dark left of an edge and
// light right of it; grey, as only the first channel is looked at.
Bitmap columns(bool (*light)(int x)) {
    Bitmap picture(kBenchWidth, kBenchHeight);
    for (int y = 0; y < kBenchHeight; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < kBenchWidth; ++x, p += 3) {
            p[0] = p[1] = p[2] = light(x) ? 255 : 0;
        }
    }
    return picture;
}

double aliasing(const Bitmap& reduced) {
    double worst = 0;
    const std::uint8_t* row = reduced.row(reduced.height() / 2);
    for (int x = 0; x < reduced.width(); ++x) {
        worst = std::max(worst, std::abs(row[3 * x] - 255.0 / 3));
    }
    return worst;
}

double edgeWidth(const Bitmap& reduced) {
    const std::uint8_t* row = reduced.row(reduced.height() / 2);
    double grey = 0;
    for (int x = 0; x < reduced.width(); ++x) {
        grey += std::min(row[3 * x], static_cast<std::uint8_t>(255 - row[3 * x])) / 127.5;
    }
    return grey;
}

void BM_Reduce(benchmark::State& state, Filter filter) {
    static const Bitmap photo = makeBenchPicture();
    static const Bitmap stripes = columns([](int x) { return x % 3 == 2; });
    // Off the output grid of both sizes, so no filter gets a lucky alignment.
    static const Bitmap edge = columns([](int x) { return x >= kBenchWidth / 2 + 17; });
    const auto width = static_cast<int>(state.range(0));
    const int height = width * kBenchHeight / kBenchWidth;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reduce(filter, photo, width, height));
    }
    state.counters["alias"] = aliasing(reduce(filter, stripes, width, height));
    state.counters["edge"] = edgeWidth(reduce(filter, edge, width, height));
}
BENCHMARK_CAPTURE(BM_Reduce, area, Filter::Area)->Arg(100)->Arg(600)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Reduce, smooth, Filter::Smooth)
    ->Arg(100)
    ->Arg(600)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Reduce, triangle, Filter::Triangle)
    ->Arg(100)
    ->Arg(600)
    ->Unit(benchmark::kMillisecond);

// What a build does to a photograph decoded at a quarter of its size (1000 x 750) for both
// of its outputs: the thumbnail and the large picture, with the old and the new reduction.
void BM_ReduceQuarterDecode(benchmark::State& state, Filter filter) {
    static const Bitmap decoded = stretchAveraged(makeBenchPicture(), 1000, 750);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reduce(filter, decoded, 100, 75));
        benchmark::DoNotOptimize(reduce(filter, decoded, 600, 450));
    }
}
BENCHMARK_CAPTURE(BM_ReduceQuarterDecode, area, Filter::Area)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReduceQuarterDecode, smooth, Filter::Smooth)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumar::bench

BENCHMARK_MAIN();
