#include "bench_picture.h"

#include <cmath>
#include <cstdint>

namespace vellumar::bench {

namespace {

std::uint8_t toByte(double value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
}

} // namespace

Bitmap makeBenchPicture(unsigned seed, bool portrait) {
    const int width = portrait ? kBenchHeight : kBenchWidth;
    const int height = portrait ? kBenchWidth : kBenchHeight;
    Bitmap picture(width, height);
    std::uint32_t grain = 12345 + seed * 7919u;
    const double waveX = 90.0 + seed % 7 * 13;
    const double waveY = 70.0 + seed % 5 * 17;
    const double ringX = 2600.0 - seed % 11 * 170;
    const double ringY = 1200.0 + seed % 3 * 300;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < width; ++x, p += 3) {
            grain = grain * 1664525u + 1013904223u;
            const double noise = static_cast<double>(grain >> 24) / 16.0 - 8.0;
            const double wave = 60 * std::sin(x / waveX) * std::cos(y / waveY);
            const double ring = std::hypot(x - ringX, y - ringY) < 700 ? 70 : 0;
            p[0] = toByte(40 + 180.0 * x / width + wave + noise);
            p[1] = toByte(60 + 150.0 * y / height - wave + ring + noise);
            p[2] = toByte(200 - 120.0 * (x + y) / (width + height) + ring + noise);
        }
    }
    return picture;
}

} // namespace vellumar::bench
