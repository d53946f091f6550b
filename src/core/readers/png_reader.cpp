#include "png_reader.h"

#include <algorithm>
#include <array>
#include <png.h>
#include <string>

#include "colour/colour_conversion.h"
#include "project_error.h"
#include "readers/png_colour.h"
#include "readers/png_data_extent.h"
#include "readers/png_rows.h"

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
    explicit PngImage(Bytes bytes) : m_bytes(bytes) {
        m_image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&m_image, bytes.data(), bytes.size())) {
            throw ProjectError(failure());
        }
    }
    ~PngImage() { png_image_free(&m_image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image& image() { return m_image; }

    // A file that ends early also says how much of the picture it holds.
    void finishRead(std::uint8_t* pixels, std::size_t rowStride) {
        if (!png_image_finish_read(&m_image, nullptr, pixels, static_cast<png_int_32>(rowStride),
                                   nullptr)) {
            throw ProjectError(failure() + pngDataExtent(m_bytes));
        }
    }

private:
    std::string failure() const {
        return std::string("the PNG data cannot be decoded: ") + m_image.message;
    }

    Bytes m_bytes;
    png_image m_image{};
};

// Deflate shrinks data at most about 1032 times, so the compressed bytes bound the size a
// PNG can really have: a tiny file claiming a huge picture is refused before allocating.
void checkPlausibleSize(PictureSize size, std::size_t fileSize) {
    const std::uint64_t smallestRow = (static_cast<std::uint64_t>(size.width) + 7) / 8 + 1;
    if (static_cast<std::uint64_t>(size.height) * smallestRow / 1032 > fileSize) {
        throw ProjectError("the PNG file is truncated");
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

ColourDescription PngReader::colour(const PictureSource& source) const {
    return pngColour(source.bytes);
}

bool PngReader::convertsColour(const PictureSource& source) const {
    return converterFor(source).has_value();
}

// A file whose colours are not sRGB is decoded in its own colours and converted, deep
// samples before they are cut down; one whose description cannot be used is read as sRGB.
std::optional<ColourConverter> PngReader::converterFor(const PictureSource& source) const {
    const ColourDescription description = colour(source);
    if (description.isSrgb()) {
        return std::nullopt;
    }
    const SampleLayout layout =
        pngHasDeepSamples(source.bytes) ? SampleLayout::Rgb16 : SampleLayout::Rgb8;
    return ColourConverter::make(description, layout, source.colourSpace);
}

Bitmap PngReader::decode(const PictureSource& source) const {
    if (!sniff(source.bytes)) {
        throw ProjectError("not a PNG file");
    }
    if (const auto converter = converterFor(source)) {
        const PictureSize size = probe(source);
        checkPlausibleSize(size, source.bytes.size());
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        try {
            readPngConverted(source.bytes, bitmap, *converter);
        } catch (const ProjectError& error) {
            throw ProjectError(error.what() + pngDataExtent(source.bytes));
        }
        return bitmap;
    }
    PngImage png(source.bytes);
    png_image& image = png.image();
    const PictureSize size = checkPictureSize(image.width, image.height);
    checkPlausibleSize(size, source.bytes.size());
    // 16-bit samples are sRGB like 8-bit ones; without the flag libpng takes them as linear.
    image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
    if (pngReadsByRows(source.bytes)) {
        try {
            readPngRowsOntoWhite(source.bytes, bitmap);
        } catch (const ProjectError& error) {
            throw ProjectError(error.what() + pngDataExtent(source.bytes));
        }
    } else {
        image.format = PNG_FORMAT_RGB;
        png.finishRead(bitmap.row(0), bitmap.stride());
    }
    return bitmap;
}

} // namespace vellumar
