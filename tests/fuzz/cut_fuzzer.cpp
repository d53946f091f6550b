#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "project_error.h"
#include "readers/cut_reader.h"

// The reader also reads a palette file beside the picture, so the input carries both: a
// two-byte little-endian palette length, the palette file, then the picture. Seeds: the
// files in tests/data/readers/cut/ with such a prefix.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("cut-fuzzer-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    if (size < 2) {
        return 0;
    }
    const std::size_t paletteSize = std::min<std::size_t>(data[0] | data[1] << 8, size - 2);
    const std::string picture = (folder / "picture.cut").string();
    if (std::FILE* file = std::fopen((folder / "picture.pal").c_str(), "wb")) {
        std::fwrite(data + 2, 1, paletteSize, file);
        std::fclose(file);
    }

    const vellumar::CutReader reader;
    const vellumar::PictureSource source{{data + 2 + paletteSize, size - 2 - paletteSize}, picture};
    reader.sniff(source.bytes);
    try {
        reader.probe(source);
    } catch (const vellumar::ProjectError&) {
    }
    try {
        reader.decode(source);
    } catch (const vellumar::ProjectError&) {
    }
    return 0;
}
