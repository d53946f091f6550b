// make_bench_picture PPM_PATH JPEG_PATH: the benchmark picture as a binary PPM and as the
// JPEG our encoder makes of it.
#include <cstdio>
#include <exception>
#include <fstream>

#include "atomic_file.h"
#include "bench_picture.h"
#include "imaging/jpeg_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_picture PPM_PATH JPEG_PATH\n");
        return 2;
    }
    try {
        const vellumar::Bitmap picture = vellumar::bench::makeBenchPicture();
        std::ofstream ppm(argv[1], std::ios::binary);
        ppm << "P6\n" << picture.width() << ' ' << picture.height() << "\n255\n";
        for (int y = 0; y < picture.height(); ++y) {
            ppm.write(reinterpret_cast<const char*>(picture.row(y)),
                      static_cast<std::streamsize>(picture.stride()));
        }
        if (!ppm.flush()) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
        vellumar::writeFileAtomically(argv[2], vellumar::encodeJpeg(picture));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
