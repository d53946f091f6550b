#include "bench_picture.h"

#include <cmath>
#include <cstdint>

namespace vellumar::bench {

namespace {

std::uint8_t toByte(double value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

} // namespace

Bitmap makeBenchPicture() {
    Bitmap picture(kBenchWidth, kBenchHeight);
    std::uint32_t grain = 12345;
    for (int y = 0; y < kBenchHeight; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < kBenchWidth; ++x, p += 3) {
            grain = grain * 1664525u + 1013904223u;
            const double noise = static_cast<double>(grain >> 24) / 16.0 - 8.0;
            const double wave = 60 * std::sin(x / 90.0) * std::cos(y / 70.0);
            const double ring = std::hypot(x - 2600.0, y - 1200.0) < 700 ? 70 : 0;
            p[0] = toByte(40 + 180.0 * x / kBenchWidth + wave + noise);
            p[1] = toByte(60 + 150.0 * y / kBenchHeight - wave + ring + noise);
            p[2] = toByte(200 - 120.0 * (x + y) / (kBenchWidth + kBenchHeight) + ring + noise);
        }
    }
    return picture;
}

} // namespace vellumar::bench
