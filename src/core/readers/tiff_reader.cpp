#include "tiff_reader.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <tiffio.h>
#include <vector>

#include "colour/colour_conversion.h"
#include "project_error.h"
#include "readers/byte_source.h"
#include "readers/tiff_cmyk.h"
#include "readers/tiff_deep.h"
#include "readers/tiff_float.h"

namespace vellumar {

namespace {

// The bytes libtiff reads through, in memory or from the file, and the first complaint
// libtiff made about them.
struct SourceFile {
    explicit SourceFile(const PictureSource& source)
        : bytes(ByteSource::of(source)), name(source.path) {}

    ByteSource bytes;
    std::string name;
    toff_t position = 0;
    std::string firstError;
};

SourceFile& fileOf(thandle_t handle) {
    return *static_cast<SourceFile*>(handle);
}

tmsize_t readFromSource(thandle_t handle, void* buffer, tmsize_t size) {
    SourceFile& file = fileOf(handle);
    if (size <= 0) {
        return 0;
    }
    try {
        const std::size_t taken =
            file.bytes.copy(file.position, std::span(static_cast<std::uint8_t*>(buffer),
                                                     static_cast<std::size_t>(size)));
        file.position += taken;
        return static_cast<tmsize_t>(taken);
    } catch (const ProjectError& error) {
        // Exceptions must not pass through libtiff; it reports the failed read instead.
        if (file.firstError.empty()) {
            file.firstError = error.what();
        }
        return -1;
    }
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) {
    return -1;
}

toff_t seekInSource(thandle_t handle, toff_t offset, int whence) {
    SourceFile& file = fileOf(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR) {
        base = file.position;
    } else if (whence == SEEK_END) {
        base = file.bytes.size();
    }
    // Offsets are unsigned here; a position past the end is allowed and reads nothing.
    file.position = base + offset;
    return file.position;
}

int closeSource(thandle_t) {
    return 0;
}

toff_t sizeOfSource(thandle_t handle) {
    return fileOf(handle).bytes.size();
}

int noMapping(thandle_t, void**, toff_t*) {
    return 0;
}

void noUnmapping(thandle_t, void*, toff_t) {}

// libtiff would print to stderr; its first error becomes the text of ours instead.
int keepFirstError(TIFF*, void* handle, const char*, const char* format, va_list arguments) {
    SourceFile& file = fileOf(handle);
    if (file.firstError.empty()) {
        char text[512] = {};
        std::vsnprintf(text, sizeof text, format, arguments);
        file.firstError = text;
        // Some messages start with the file name, which whoever reports the error adds.
        const std::string namePrefix = file.name + ": ";
        if (!file.name.empty() && file.firstError.rfind(namePrefix, 0) == 0) {
            file.firstError.erase(0, namePrefix.size());
        }
    }
    return 1;
}

int ignoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

[[noreturn]] void fail(const std::string& reason) {
    throw ProjectError("the TIFF data cannot be decoded: " + reason);
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

struct OptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// Opening reads the header and the first directory.
TiffFile openTiff(SourceFile& file) {
    const std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
    if (!options) {
        throw ProjectError("out of memory");
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), keepFirstError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreWarning, &file);
    // "m": the bytes are read through the procedures, never mapped.
    TiffFile tiff(TIFFClientOpenExt(file.name.c_str(), "rm", &file, readFromSource, refuseWrite,
                                    seekInSource, closeSource, sizeOfSource, noMapping, noUnmapping,
                                    options.get()));
    if (!tiff) {
        fail(file.firstError.empty() ? "not a readable TIFF file" : file.firstError);
    }
    return tiff;
}

PictureSize sizeOf(TIFF* tiff) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    return checkPictureSize(width, height);
}

class RgbaImage {
public:
    explicit RgbaImage(TIFF* tiff) {
        char message[1024] = {};
        if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&m_image, tiff, 1, message)) {
            fail(message);
        }
        // Rows come as stored. The orientation tag reaches the build as the picture's EXIF
        // orientation, which turns a TIFF as it turns a JPEG; had libtiff flipped the rows
        // as well, the picture would be turned twice.
        m_image.req_orientation = m_image.orientation;
    }
    ~RgbaImage() { TIFFRGBAImageEnd(&m_image); }
    RgbaImage(const RgbaImage&) = delete;
    RgbaImage& operator=(const RgbaImage&) = delete;

    // Reads stored rows [first, first + count) into `band`, top row first.
    bool readBand(std::uint32_t first, std::uint32_t count, std::uint32_t* band) {
        m_image.row_offset = static_cast<int>(first);
        m_image.col_offset = 0;
        return TIFFRGBAImageGet(&m_image, band, m_image.width, count) != 0;
    }

private:
    TIFFRGBAImage m_image{};
};

// Bands follow the strips or tiles so no block is decoded twice, and keep the RGBA buffer
// small next to the bitmap.
std::uint32_t bandHeight(TIFF* tiff, std::uint32_t height) {
    std::uint32_t blockRows = 0;
    if (TIFFIsTiled(tiff)) {
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &blockRows);
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &blockRows);
    }
    constexpr std::uint32_t kMinimumBand = 64;
    blockRows = std::clamp<std::uint32_t>(blockRows, 1, height);
    const std::uint32_t blocks = (std::min(kMinimumBand, height) + blockRows - 1) / blockRows;
    return std::min<std::uint64_t>(static_cast<std::uint64_t>(blocks) * blockRows, height);
}

// libtiff hands back premultiplied RGBA, so white shows through by 255 - alpha.
void compositeRowOntoWhite(const std::uint32_t* abgr, int width, std::uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        const std::uint32_t pixel = abgr[x];
        const std::uint32_t background = 255 - TIFFGetA(pixel);
        *out++ =
            static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetR(pixel) + background, 255));
        *out++ =
            static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetG(pixel) + background, 255));
        *out++ =
            static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetB(pixel) + background, 255));
    }
}

// The conversion of samples that do not fit 8-bit RGB, made while they are read: plain CMYK
// ink through the file's own profile, else the press profile; L*a*b*; 16-bit grey and RGB
// that are not sRGB, before they are cut down.
std::optional<ColourConverter> converterFor(TIFF* tiff, const ColourDescription& colour,
                                            ColourSpace space) {
    if (holdsPlainCmyk(tiff)) {
        if (auto own = ColourConverter::make(colour, SampleLayout::Cmyk8, space)) {
            return own;
        }
        return ColourConverter::make(ColourDescription::pressCmyk(), SampleLayout::Cmyk8, space);
    }
    const auto deep = tiffDeepLayout(tiff);
    if (!deep || colour.isSrgb()) {
        return std::nullopt;
    }
    return ColourConverter::make(colour, deep->lab ? SampleLayout::Lab16 : SampleLayout::Rgb16,
                                 space);
}

void requireSignature(const TiffReader& reader, Bytes bytes) {
    if (!reader.sniff(bytes)) {
        throw ProjectError("not a TIFF file");
    }
}

} // namespace

bool TiffReader::sniff(Bytes bytes) const {
    // Byte order, then 42 for classic TIFF or 43 for BigTIFF in that order.
    if (bytes.size() < 4) {
        return false;
    }
    const bool intel = bytes[0] == 'I' && bytes[1] == 'I' && bytes[3] == 0;
    const bool motorola = bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0;
    const std::uint8_t version = intel ? bytes[2] : bytes[3];
    return (intel || motorola) && (version == 42 || version == 43);
}

PictureSize TiffReader::probe(const PictureSource& source) const {
    requireSignature(*this, source.bytes);
    SourceFile file(source);
    const TiffFile tiff = openTiff(file);
    return sizeOf(tiff.get());
}

ColourDescription TiffReader::colour(const PictureSource& source) const {
    try {
        requireSignature(*this, source.bytes);
        SourceFile file(source);
        const TiffFile tiff = openTiff(file);
        // Whatever profile such a file carries, its samples say what colours they are.
        const auto deep = tiffDeepLayout(tiff.get());
        if (deep && deep->lab) {
            return ColourDescription::cieLab();
        }
        std::uint32_t size = 0;
        const std::uint8_t* profile = nullptr;
        if (TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &size, &profile) && profile != nullptr) {
            return ColourDescription::iccProfile({profile, profile + size});
        }
        if (holdsPlainCmyk(tiff.get())) {
            return ColourDescription::pressCmyk();
        }
    } catch (const ProjectError&) {
        // decode says what is wrong
    }
    return ColourDescription::srgb();
}

bool TiffReader::convertsColour(const PictureSource& source) const {
    try {
        requireSignature(*this, source.bytes);
        SourceFile file(source);
        const TiffFile tiff = openTiff(file);
        return converterFor(tiff.get(), colour(source), source.colourSpace).has_value();
    } catch (const ProjectError&) {
        return false; // decode says what is wrong
    }
}

Bitmap TiffReader::decode(const PictureSource& source) const {
    requireSignature(*this, source.bytes);
    SourceFile file(source);
    const TiffFile tiff = openTiff(file);
    const PictureSize size = sizeOf(tiff.get());
    if (hasFloatSamples(tiff.get())) {
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        if (!readFloatRows(tiff.get(), bitmap)) {
            fail(file.firstError.empty() ? "the picture data is damaged" : file.firstError);
        }
        return bitmap;
    }
    if (const auto converter = converterFor(tiff.get(), colour(source), source.colourSpace)) {
        Bitmap bitmap = Bitmap::uninitialized(size.width, size.height);
        const auto deep = tiffDeepLayout(tiff.get());
        const bool read = deep ? readTiffDeepRows(tiff.get(), *deep, bitmap, *converter)
                               : readTiffCmykRows(tiff.get(), bitmap, *converter);
        if (!read) {
            fail(file.firstError.empty() ? "the picture data is damaged" : file.firstError);
        }
        return bitmap;
    }
    RgbaImage image(tiff.get());
    const auto height = static_cast<std::uint32_t>(size.height);
    const std::uint32_t band = bandHeight(tiff.get(), height);
    std::vector<std::uint32_t> rgba(static_cast<std::size_t>(size.width) * band);
    Bitmap bitmap(size.width, size.height);
    for (std::uint32_t first = 0; first < height; first += band) {
        const std::uint32_t count = std::min(band, height - first);
        if (!image.readBand(first, count, rgba.data())) {
            fail(file.firstError.empty() ? "the picture data is damaged" : file.firstError);
        }
        for (std::uint32_t row = 0; row < count; ++row) {
            compositeRowOntoWhite(rgba.data() + static_cast<std::size_t>(row) * size.width,
                                  size.width, bitmap.row(static_cast<int>(first + row)));
        }
    }
    return bitmap;
}

} // namespace vellumar
