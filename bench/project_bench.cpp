// Adding a folder of 1,000 JPEG files and opening a project of 9,999 pictures, each against
// the floor of reading the first 64 KiB of the same files in the same run. The pictures are
// made once per run in a temporary folder and removed at the end.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "frontend.h"
#include "model/picture_adding.h"
#include "model/project.h"
#include "model/project_file.h"

namespace vellumar::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kFolderPictures = 1000;
constexpr int kProjectPictures = 9999;
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;

class QuietFrontend : public Frontend {
public:
    void status(const std::string&) override {}
    void progress(int) override {}
    void notice(const std::string&) override {}
    bool question(const std::string&) override { return false; }
    void processEvents() override {}
};

// A photo-like JPEG: smooth gradients with grain, so it compresses like a real picture.
std::vector<unsigned char> makeJpeg() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
    std::uint32_t grain = 12345;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        grain = grain * 1664525u + 1013904223u;
        const std::size_t pixel = i / 3;
        const int x = static_cast<int>(pixel % kWidth);
        const int y = static_cast<int>(pixel / kWidth);
        pixels[i] = static_cast<unsigned char>((x * (i % 3 + 1) + y) / 16 + (grain >> 28));
    }
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = kWidth;
    compress.image_height = kHeight;
    compress.input_components = 3;
    compress.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 90, TRUE);
    jpeg_start_compress(&compress, TRUE);
    while (compress.next_scanline < compress.image_height) {
        JSAMPROW row = &pixels[static_cast<std::size_t>(compress.next_scanline) * kWidth * 3];
        jpeg_write_scanlines(&compress, &row, 1);
    }
    jpeg_finish_compress(&compress);
    jpeg_destroy_compress(&compress);
    std::vector<unsigned char> jpeg(buffer, buffer + size);
    std::free(buffer);
    return jpeg;
}

// The folder of pictures and the project naming them, made on first use.
class Fixture {
public:
    Fixture()
        : m_folder(fs::temp_directory_path() / ("vellumar-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(m_folder / "pictures");
        const std::vector<unsigned char> jpeg = makeJpeg();
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

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// The floor: opening each file and reading its first 64 KiB, as a header probe may.
void readFirst64KiB(benchmark::State& state, int pictures) {
    std::vector<char> buffer(64 * 1024);
    for (auto _ : state) {
        for (int n = 0; n < pictures; ++n) {
            std::FILE* file = std::fopen(fixture().picture(n).c_str(), "rb");
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
    QuietFrontend frontend;
    for (auto _ : state) {
        PictureList list;
        AddAllPic(list, fixture().pictureFolder(), frontend);
        if (list.count() != kFolderPictures) {
            state.SkipWithError("not every picture was added");
        }
    }
    state.SetItemsProcessed(state.iterations() * kFolderPictures);
    state.counters["jpeg_bytes"] = static_cast<double>(fixture().jpegSize());
}
BENCHMARK(BM_AddFolderOf1000Jpegs)->Unit(benchmark::kMillisecond);

void BM_Read64KiBOf9999Files(benchmark::State& state) {
    readFirst64KiB(state, kProjectPictures);
}
BENCHMARK(BM_Read64KiBOf9999Files)->Unit(benchmark::kMillisecond);

// Reading the project file alone: settings, and a look at each picture file's existence.
void BM_LoadProjectOf9999Pictures(benchmark::State& state) {
    QuietFrontend frontend;
    for (auto _ : state) {
        PictureList list;
        GallerySettings settings;
        if (!LoadProject(fixture().project(), list, settings, {}, frontend)) {
            state.SkipWithError("the project did not load");
        }
    }
    state.SetItemsProcessed(state.iterations() * kProjectPictures);
}
BENCHMARK(BM_LoadProjectOf9999Pictures)->Unit(benchmark::kMillisecond);

// What opening a project costs the user: loading it and filling the grid from each
// picture's header.
void BM_OpenProjectOf9999Pictures(benchmark::State& state) {
    QuietFrontend frontend;
    for (auto _ : state) {
        Project project;
        if (!project.open(fixture().project(), {}, frontend)) {
            state.SkipWithError("the project did not open");
        }
    }
    state.SetItemsProcessed(state.iterations() * kProjectPictures);
}
BENCHMARK(BM_OpenProjectOf9999Pictures)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace vellumar::bench

BENCHMARK_MAIN();
