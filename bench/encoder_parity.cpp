// The WebP and AVIF settings against the JPEG they stand beside: how like the source pixels
// each comes out (SSIM of luma), its bytes and its encoding time, on photographs reduced to
// the sizes a gallery offers.
//
//   encoder_parity FOLDER [PHOTOS] [webp=Q,Q...] [avif=Q,Q...] [speed=S,S...] [method=M,M...]
//
// reads the first PHOTOS JPEGs of FOLDER (all without it) and prints, for every size, the
// mean SSIM of each coding and its bytes and CPU time relative to the JPEG's. Without
// settings, the writers' own are measured.
//
//   encoder_parity --memory jpeg|webp|avif WIDTH HEIGHT [PHOTO]
//
// prints the memory one encode of a photograph reduced to that size (a generated one without
// PHOTO) holds at its peak besides the bitmap (resident bytes, from the kernel's high-water
// mark).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <exception>
#include <fstream>
#include <functional>
#include <libheif/heif.h>
#include <malloc.h>
#include <map>
#include <string>
#include <vector>
#include <webp/decode.h>

#include "bench_picture.h"
#include "file_io.h"
#include "imaging/avif_writer.h"
#include "imaging/jpeg_writer.h"
#include "imaging/smooth_reduction.h"
#include "imaging/webp_writer.h"
#include "readers/jpeg_reader.h"

namespace vellumar::bench {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The widths a gallery's thumbnails and responsive copies have; upright photos get the height
// a landscape one of that width has.
constexpr int kWidths[] = {200, 640, 1280, 1920};

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::vector<double> luma(const Bitmap& picture) {
    std::vector<double> y(static_cast<std::size_t>(picture.width()) * picture.height());
    for (int row = 0; row < picture.height(); ++row) {
        const std::uint8_t* p = picture.row(row);
        for (int x = 0; x < picture.width(); ++x, p += 3) {
            y[static_cast<std::size_t>(row) * picture.width() + x] =
                0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
        }
    }
    return y;
}

// A separable 11-tap Gaussian (sigma 1.5) over the picture, keeping only the positions where
// the window lies inside it.
std::vector<double> blurred(const std::vector<double>& plane, int width, int height) {
    static const std::vector<double> kernel = [] {
        std::vector<double> k(11);
        double sum = 0;
        for (int i = 0; i < 11; ++i) {
            k[i] = std::exp(-(i - 5) * (i - 5) / (2 * 1.5 * 1.5));
            sum += k[i];
        }
        for (double& v : k) {
            v /= sum;
        }
        return k;
    }();
    const int outWidth = width - 10;
    const int outHeight = height - 10;
    std::vector<double> across(static_cast<std::size_t>(outWidth) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            double sum = 0;
            for (int i = 0; i < 11; ++i) {
                sum += kernel[i] * plane[static_cast<std::size_t>(y) * width + x + i];
            }
            across[static_cast<std::size_t>(y) * outWidth + x] = sum;
        }
    }
    std::vector<double> out(static_cast<std::size_t>(outWidth) * outHeight);
    for (int y = 0; y < outHeight; ++y) {
        for (int x = 0; x < outWidth; ++x) {
            double sum = 0;
            for (int i = 0; i < 11; ++i) {
                sum += kernel[i] * across[static_cast<std::size_t>(y + i) * outWidth + x];
            }
            out[static_cast<std::size_t>(y) * outWidth + x] = sum;
        }
    }
    return out;
}

// The mean structural similarity of the two pictures' luma, with the usual constants.
double ssim(const Bitmap& a, const Bitmap& b) {
    const int w = a.width();
    const int h = a.height();
    const std::vector<double> x = luma(a);
    const std::vector<double> y = luma(b);
    std::vector<double> xx(x.size());
    std::vector<double> yy(x.size());
    std::vector<double> xy(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        xx[i] = x[i] * x[i];
        yy[i] = y[i] * y[i];
        xy[i] = x[i] * y[i];
    }
    const auto mx = blurred(x, w, h);
    const auto my = blurred(y, w, h);
    const auto sxx = blurred(xx, w, h);
    const auto syy = blurred(yy, w, h);
    const auto sxy = blurred(xy, w, h);
    constexpr double c1 = (0.01 * 255) * (0.01 * 255);
    constexpr double c2 = (0.03 * 255) * (0.03 * 255);
    double sum = 0;
    for (std::size_t i = 0; i < mx.size(); ++i) {
        const double vx = sxx[i] - mx[i] * mx[i];
        const double vy = syy[i] - my[i] * my[i];
        const double cov = sxy[i] - mx[i] * my[i];
        sum += ((2 * mx[i] * my[i] + c1) * (2 * cov + c2)) /
               ((mx[i] * mx[i] + my[i] * my[i] + c1) * (vx + vy + c2));
    }
    return sum / static_cast<double>(mx.size());
}

Bitmap decodeJpeg(const Bytes& bytes) {
    return JpegReader().decode(PictureSource{bytes, {}});
}

Bitmap decodeWebp(const Bytes& bytes) {
    int width = 0;
    int height = 0;
    std::uint8_t* pixels = WebPDecodeRGB(bytes.data(), bytes.size(), &width, &height);
    Bitmap bitmap(width, height);
    std::copy_n(pixels, bitmap.stride() * static_cast<std::size_t>(height), bitmap.row(0));
    WebPFree(pixels);
    return bitmap;
}

Bitmap decodeAvif(const Bytes& bytes) {
    heif_context* context = heif_context_alloc();
    heif_image_handle* handle = nullptr;
    heif_image* image = nullptr;
    heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr);
    heif_context_get_primary_image_handle(context, &handle);
    heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr);
    Bitmap bitmap(heif_image_get_width(image, heif_channel_interleaved),
                  heif_image_get_height(image, heif_channel_interleaved));
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < bitmap.height(); ++y) {
        std::copy_n(plane + static_cast<std::ptrdiff_t>(y) * stride, bitmap.stride(),
                    bitmap.row(y));
    }
    heif_image_release(image);
    heif_image_handle_release(handle);
    heif_context_free(context);
    return bitmap;
}

struct Coding {
    std::string name;
    std::function<Bytes(const Bitmap&)> encode;
    std::function<Bitmap(const Bytes&)> decode;
};

struct Totals {
    double ssim = 0;
    double bytes = 0;
    double seconds = 0;
    int pictures = 0;
};

std::vector<int> numbers(const std::string& list) {
    std::vector<int> values;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        values.push_back(std::atoi(list.substr(at, comma - at).c_str()));
        at = comma + 1;
    }
    return values;
}

std::vector<Coding> codings(int argc, char** argv) {
    std::vector<int> webpQualities{kWebpSettings.quality};
    std::vector<int> methods{kWebpSettings.method};
    std::vector<int> avifQualities{kAvifSettings.quality};
    std::vector<int> speeds{kAvifSettings.speed};
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::string value = arg.substr(arg.find('=') + 1);
        if (arg.starts_with("webp=")) {
            webpQualities = numbers(value);
        } else if (arg.starts_with("method=")) {
            methods = numbers(value);
        } else if (arg.starts_with("avif=")) {
            avifQualities = numbers(value);
        } else if (arg.starts_with("speed=")) {
            speeds = numbers(value);
        }
    }
    std::vector<Coding> list{{"jpeg", [](const Bitmap& b) { return encodeJpeg(b); }, decodeJpeg}};
    for (const int method : methods) {
        for (const int quality : webpQualities) {
            const WebpSettings settings{quality, method};
            list.push_back({"webp q" + std::to_string(quality) + " m" + std::to_string(method),
                            [settings](const Bitmap& b) { return encodeWebp(b, settings); },
                            decodeWebp});
        }
    }
    for (const int speed : speeds) {
        for (const int quality : avifQualities) {
            const AvifSettings settings{quality, speed};
            list.push_back({"avif q" + std::to_string(quality) + " s" + std::to_string(speed),
                            [settings](const Bitmap& b) { return encodeAvif(b, settings); },
                            decodeAvif});
        }
    }
    return list;
}

std::vector<std::string> photos(const std::string& folder, int limit) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.ends_with(".jpg")) {
                names.push_back(folder + "/" + name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    if (limit > 0 && static_cast<int>(names.size()) > limit) {
        names.resize(static_cast<std::size_t>(limit));
    }
    return names;
}

int compare(int argc, char** argv) {
    const std::vector<Coding> list = codings(argc, argv);
    const std::vector<std::string> files = photos(argv[1], argc > 2 ? std::atoi(argv[2]) : 0);
    std::map<int, std::vector<Totals>> totals;
    for (const std::string& path : files) {
        const Bytes file = readFileBytes(path);
        const Bitmap photo = decodeJpeg(file);
        for (const int width : kWidths) {
            const bool upright = photo.height() > photo.width();
            const int height = width * 3 / 4;
            const int w = upright ? height * photo.width() / photo.height() : width;
            const int h = upright ? height : width * photo.height() / photo.width();
            const Bitmap picture = stretchSmoothly(photo, {photo.width(), photo.height()}, 1, w, h);
            std::vector<Totals>& row = totals[width];
            row.resize(list.size());
            for (std::size_t c = 0; c < list.size(); ++c) {
                const double start = cpuSeconds();
                const Bytes bytes = list[c].encode(picture);
                row[c].seconds += cpuSeconds() - start;
                row[c].bytes += static_cast<double>(bytes.size());
                row[c].ssim += ssim(picture, list[c].decode(bytes));
                ++row[c].pictures;
            }
        }
        std::fprintf(stderr, ".");
    }
    std::fprintf(stderr, "\n%zu photos\n", files.size());
    for (const auto& [width, row] : totals) {
        std::printf("width %d%s\n", width, width == 200 ? " (thumbnail)" : "");
        std::printf("  %-14s %8s %10s %7s %9s %7s\n", "coding", "SSIM", "bytes", "x JPEG", "ms",
                    "x JPEG");
        for (std::size_t c = 0; c < list.size(); ++c) {
            const double n = row[c].pictures;
            std::printf("  %-14s %8.5f %10.0f %7.3f %9.2f %7.2f\n", list[c].name.c_str(),
                        row[c].ssim / n, row[c].bytes / n, row[c].bytes / row[0].bytes,
                        1000 * row[c].seconds / n, row[c].seconds / row[0].seconds);
        }
    }
    return 0;
}

std::uint64_t statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field)) {
            return std::strtoull(line.c_str() + std::char_traits<char>::length(field), nullptr, 10);
        }
    }
    return 0;
}

int memory(const std::string& format, int width, int height, const char* path) {
    Bitmap picture;
    {
        const Bitmap photo = path != nullptr ? decodeJpeg(readFileBytes(path)) : makeBenchPicture();
        picture = stretchSmoothly(photo, {photo.width(), photo.height()}, 1, width, height);
    }
    malloc_trim(0);
    const std::uint64_t before = statusKilobytes("VmRSS:");
    // Resets the high-water mark to what is resident now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const Bytes bytes = format == "webp"   ? encodeWebp(picture)
                        : format == "avif" ? encodeAvif(picture)
                                           : encodeJpeg(picture);
    const std::uint64_t peak = statusKilobytes("VmHWM:");
    const double pixels = static_cast<double>(width) * height;
    std::printf("%s %dx%d: %.2f bytes a pixel besides the bitmap (%llu kB; file %zu bytes)\n",
                format.c_str(), width, height, (peak - before) * 1024.0 / pixels,
                static_cast<unsigned long long>(peak - before), bytes.size());
    return 0;
}

} // namespace
} // namespace vellumar::bench

int main(int argc, char** argv) {
    try {
        if ((argc == 5 || argc == 6) && std::string(argv[1]) == "--memory") {
            return vellumar::bench::memory(argv[2], std::atoi(argv[3]), std::atoi(argv[4]),
                                           argc == 6 ? argv[5] : nullptr);
        }
        if (argc < 2) {
            std::fprintf(stderr,
                         "usage: encoder_parity FOLDER [PHOTOS] [webp=Q,...] [avif=Q,...] "
                         "[speed=S,...] [method=M,...]\n"
                         "       encoder_parity --memory jpeg|webp|avif WIDTH HEIGHT [PHOTO]\n");
            return 2;
        }
        return vellumar::bench::compare(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
