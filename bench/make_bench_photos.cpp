// make_bench_photos FOLDER COUNT: COUNT distinct 12-megapixel photographs as JPEG files
// photo01.jpg, photo02.jpg, ... in FOLDER, every fourth one upright, the same every run.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "atomic_file.h"
#include "bench_picture.h"
#include "imaging/jpeg_writer.h"

int main(int argc, char** argv) {
    const int count = argc == 3 ? std::atoi(argv[2]) : 0;
    if (count < 1) {
        std::fprintf(stderr, "usage: make_bench_photos FOLDER COUNT\n");
        return 2;
    }
    try {
        for (int i = 1; i <= count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/photo%02d.jpg", i);
            const auto seed = static_cast<unsigned>(i);
            vellumar::writeFileAtomically(
                argv[1] + std::string(name),
                vellumar::encodeJpeg(vellumar::bench::makeBenchPicture(seed, i % 4 == 0)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
