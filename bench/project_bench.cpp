// Adding a folder of 1,000 JPEG files and opening a project of 9,999 pictures, each against
// the floor of reading the first 64 KiB of the same files in the same run. The pictures are
// copies of the 12-megapixel benchmark photograph, made once per run in a temporary folder
// and removed at the end.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench_picture.h"
#include "frontend.h"
#include "imaging/jpeg_writer.h"
#include "model/picture_adding.h"
#include "model/project.h"
#include "model/project_file.h"
#include "readers/reader_table.h"

namespace vellumar::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kFolderPictures = 1000;
constexpr int kProjectPictures = 9999;

// The folder of pictures and the project naming them, made on first use.
class Fixture {
public:
    Fixture()
        : m_folder(fs::temp_directory_path() / ("vellumar-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(m_folder / "pictures");
        const std::vector<std::uint8_t> jpeg = encodeJpeg(makeBenchPicture());
        for (int n = 1; n <= kFolderPictures; ++n) {
            const fs::path path = m_folder / "pictures" / ("photo" + std::to_string(n) + ".jpg");
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(jpeg.data()),
                       static_cast<std::streamsize>(jpeg.size()));
            m_pictures.push_back(path.string());
        }
        PictureList list;
        for (int n = 0; n < kProjectPictures; ++n) {
            TImgEntry entry;
            entry.file = m_pictures[static_cast<std::size_t>(n % kFolderPictures)];
            entry.title = "Picture " + std::to_string(n + 1);
            list.append(entry);
        }
        SaveProject(project(), list, GallerySettings{});
        m_jpegSize = jpeg.size();
    }
    ~Fixture() { fs::remove_all(m_folder); }

    std::string pictureFolder() const { return (m_folder / "pictures").string(); }
    std::string project() const { return (m_folder / "big.vlm").string(); }
    const std::string& picture(int index) const {
        return m_pictures[static_cast<std::size_t>(index % kFolderPictures)];
    }
    std::size_t jpegSize() const { return m_jpegSize; }

private:
    fs::path m_folder;
    std::vector<std::string> m_pictures;
    std::size_t m_jpegSize = 0;
};

// Made on first use, which each benchmark makes before its timed loop.
const Fixture& fixture() {
    static const Fixture instance;
    return instance;
}

// The floor: opening each file and reading its first 64 KiB, as a header probe may.
void readFirst64KiB(benchmark::State& state, int pictures) {
    const Fixture& files = fixture();
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        for (int n = 0; n < pictures; ++n) {
            std::FILE* file = std::fopen(files.picture(n).c_str(), "rb");
            benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
            std::fclose(file);
        }
    }
    state.SetItemsProcessed(state.iterations() * pictures);
}

void BM_Read64KiBOf1000Files(benchmark::State& state) {
    readFirst64KiB(state, kFolderPictures);
}
BENCHMARK(BM_Read64KiBOf1000Files)->Unit(benchmark::kMillisecond);

void BM_AddFolderOf1000Jpegs(benchmark::State& state) {
    const Fixture& files = fixture();
    SilentFrontend frontend;
    for (auto _ : state) {
        PictureList list;
        AddingReport report;
        AddAllPic(list, files.pictureFolder(), frontend, report, pictureFormats());
        if (list.count() != kFolderPictures) {
            state.SkipWithError("not every picture was added");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolderPictures);
    state.counters["jpeg_bytes"] = static_cast<double>(files.jpegSize());
}
BENCHMARK(BM_AddFolderOf1000Jpegs)->Unit(benchmark::kMillisecond);

void BM_Read64KiBOf9999Files(benchmark::State& state) {
    readFirst64KiB(state, kProjectPictures);
}
BENCHMARK(BM_Read64KiBOf9999Files)->Unit(benchmark::kMillisecond);

// Reading the project file alone: settings, and a look at each picture file's existence.
void BM_LoadProjectOf9999Pictures(benchmark::State& state) {
    const Fixture& files = fixture();
    SilentFrontend frontend;
    for (auto _ : state) {
        PictureList list;
        GallerySettings settings;
        if (!LoadProject(files.project(), list, settings, {}, frontend)) {
            state.SkipWithError("the project did not load");
        }
    }
    state.SetItemsProcessed(state.iterations() * kProjectPictures);
}
BENCHMARK(BM_LoadProjectOf9999Pictures)->Unit(benchmark::kMillisecond);

// What opening a project costs the user: loading it and filling the grid from each
// picture's header.
void BM_OpenProjectOf9999Pictures(benchmark::State& state) {
    const Fixture& files = fixture();
    SilentFrontend frontend;
    for (auto _ : state) {
        Project project;
        if (!project.open(files.project(), {}, frontend, pictureFormats())) {
            state.SkipWithError("the project did not open");
        }
    }
    state.SetItemsProcessed(state.iterations() * kProjectPictures);
}
BENCHMARK(BM_OpenProjectOf9999Pictures)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumar::bench

BENCHMARK_MAIN();
