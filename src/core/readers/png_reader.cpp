#include "png_reader.h"

#include <algorithm>
#include <array>
#include <png.h>
#include <vector>

#include "project_error.h"

namespace vellumar {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// libpng's simplified interface keeps its setjmp inside the library and reports through the
// image structure, so nothing here crosses a longjmp.
class PngImage {
public:
    explicit PngImage(Bytes bytes) {
        m_image.version = PNG_IMAGE_VERSION;
        check(png_image_begin_read_from_memory(&m_image, bytes.data(), bytes.size()));
    }
    ~PngImage() { png_image_free(&m_image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image& image() { return m_image; }

    void finishRead(std::uint8_t* pixels, std::size_t rowStride) {
        check(png_image_finish_read(&m_image, nullptr, pixels, static_cast<png_int_32>(rowStride),
                                    nullptr));
    }

private:
    void check(int succeeded) const {
        if (!succeeded) {
            throw ProjectError(std::string("the PNG data cannot be decoded: ") + m_image.message);
        }
    }

    png_image m_image{};
};

// Plain blending in the stored colour space, as every other reader does it.
void compositeOntoWhite(const std::vector<std::uint8_t>& rgba, Bitmap& bitmap) {
    const std::uint8_t* in = rgba.data();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* out = bitmap.row(y);
        for (int x = 0; x < bitmap.width(); ++x, in += 4) {
            const int alpha = in[3];
            for (int c = 0; c < 3; ++c) {
                *out++ =
                    static_cast<std::uint8_t>((in[c] * alpha + 255 * (255 - alpha) + 127) / 255);
            }
        }
    }
}

} // namespace

bool PngReader::sniff(Bytes bytes) const {
    return bytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

PictureSize PngReader::probe(const PictureSource& source) const {
    // The signature is followed by the IHDR chunk: length 13, type, width, height.
    const Bytes bytes = source.bytes;
    if (!sniff(bytes)) {
        throw ProjectError("not a PNG file");
    }
    if (bytes.size() < 24 || bigEndian32(&bytes[8]) != 13 ||
        !std::equal(bytes.begin() + 12, bytes.begin() + 16, "IHDR")) {
        throw ProjectError("the PNG file does not start with its header chunk");
    }
    return checkPictureSize(bigEndian32(&bytes[16]), bigEndian32(&bytes[20]));
}

Bitmap PngReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a PNG file");
    }
    PngImage png(source.bytes);
    png_image& image = png.image();
    const PictureSize size = checkPictureSize(image.width, image.height);
    // 16-bit samples are sRGB like 8-bit ones; without the flag libpng takes them as linear.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    Bitmap bitmap(size.width, size.height);
    if ((image.format & PNG_FORMAT_FLAG_ALPHA) == 0) {
        image.format = PNG_FORMAT_RGB;
        png.finishRead(bitmap.row(0), bitmap.stride());
        return bitmap;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size.width) * size.height * 4);
    png.finishRead(rgba.data(), static_cast<std::size_t>(size.width) * 4);
    compositeOntoWhite(rgba, bitmap);
    return bitmap;
}

} // namespace vellumar
