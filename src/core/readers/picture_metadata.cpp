#include "picture_metadata.h"

#include <cmath>
#include <cstdio>
#include <mutex>

// The library hands out std::auto_ptr, which compilers warn about wherever it is used; this
// file is the only one that sees it.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

#include "readers/camera_boilerplate.h"
#include "text_util.h"

namespace vellumar {

namespace {

// Texts beyond this are no caption anyone wrote, and would only bloat every page.
constexpr std::size_t kLongestText = 64 * 1024;

// The XMP toolkit is not safe on several threads at once unless given a lock, and the
// library's warnings about odd files are of no use to a gallery's user.
void lockXmpToolkit(void* mutex, bool lock) {
    if (lock) {
        static_cast<std::mutex*>(mutex)->lock();
    } else {
        static_cast<std::mutex*>(mutex)->unlock();
    }
}

void prepareLibrary() {
    static std::mutex xmpToolkit;
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmpToolkit, &xmpToolkit);
        Exiv2::enableBMFF(true);
    });
}

std::string cleanText(const std::string& text) {
    std::string clean = trimBlanksAndControls(text);
    return clean.size() <= kLongestText ? clean : std::string();
}

template <typename Data, typename Key>
const Exiv2::Metadatum* find(Data& data, const char* name) {
    const auto it = data.findKey(Key(name));
    return it == data.end() || it->count() == 0 ? nullptr : &*it;
}

const Exiv2::Metadatum* exif(Exiv2::ExifData& data, const char* name) {
    return find<Exiv2::ExifData, Exiv2::ExifKey>(data, name);
}

// A language alternative gives its default text, else its first.
std::string textOf(const Exiv2::Metadatum* datum) {
    if (datum == nullptr) {
        return {};
    }
    if (const auto* alternatives = dynamic_cast<const Exiv2::LangAltValue*>(&datum->value())) {
        const auto& values = alternatives->value_;
        const auto fallback = values.find("x-default");
        const auto chosen = fallback != values.end() ? fallback : values.begin();
        return chosen == values.end() ? std::string() : cleanText(chosen->second);
    }
    return cleanText(datum->toString());
}

// The first text that a person wrote; what cameras fill in by themselves is passed over.
std::string firstText(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts) {
        if (!isCameraBoilerplate(text)) {
            return text;
        }
    }
    return {};
}

// A positive rational as a number, or nothing.
std::optional<double> positive(const Exiv2::Metadatum* datum) {
    if (datum == nullptr) {
        return std::nullopt;
    }
    const Exiv2::Rational value = datum->toRational(0);
    if (value.first <= 0 || value.second <= 0) {
        return std::nullopt;
    }
    return static_cast<double>(value.first) / value.second;
}

// One decimal at most: 5.6, 8, 4.3.
std::string shortNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string result = text;
    if (result.size() > 2 && result.compare(result.size() - 2, 2, ".0") == 0) {
        result.resize(result.size() - 2);
    }
    return result;
}

std::string exposureTimeText(double seconds) {
    if (seconds < 1) {
        return "1/" + std::to_string(std::lround(1 / seconds)) + " s";
    }
    return shortNumber(seconds) + " s";
}

std::string exposureOf(Exiv2::ExifData& data) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : ", ") + part;
    };
    const auto time = positive(exif(data, "Exif.Photo.ExposureTime"));
    if (time && *time < 1e5) {
        add(exposureTimeText(*time));
    }
    if (const auto aperture = positive(exif(data, "Exif.Photo.FNumber"));
        aperture && *aperture < 1e4) {
        add("f/" + shortNumber(*aperture));
    }
    if (const auto* iso = exif(data, "Exif.Photo.ISOSpeedRatings"); iso && iso->toLong(0) > 0) {
        add("ISO " + std::to_string(iso->toLong(0)));
    }
    if (const auto focal = positive(exif(data, "Exif.Photo.FocalLength")); focal && *focal < 1e5) {
        add(shortNumber(*focal) + " mm");
    }
    return text;
}

std::string cameraOf(Exiv2::ExifData& data) {
    const std::string make = textOf(exif(data, "Exif.Image.Make"));
    const std::string model = textOf(exif(data, "Exif.Image.Model"));
    if (make.empty() || model.empty()) {
        return make + model;
    }
    // Makers often repeat themselves in the model, sometimes by the first word only
    // ("NIKON CORPORATION" and "NIKON D750").
    const std::string makeWord = make.substr(0, make.find(' '));
    const std::string lowerModel = toLowerAscii(model);
    if (lowerModel.starts_with(toLowerAscii(makeWord))) {
        return model;
    }
    return make + " " + model;
}

bool isValidDate(const DateTaken& d) {
    return d.year >= 1800 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= 31 && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59 &&
           d.second >= 0 && d.second <= 60;
}

// EXIF writes "2024:07:14 18:03:05"; unknown parts are blanks.
std::optional<DateTaken> dateOf(const Exiv2::Metadatum* datum) {
    const std::string text = textOf(datum);
    DateTaken date;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d:%2d:%2d %2d:%2d:%2d%n", &date.year, &date.month, &date.day,
                    &date.hour, &date.minute, &date.second, &consumed) != 6 ||
        consumed != 19 || !isValidDate(date)) {
        return std::nullopt;
    }
    return date;
}

int orientationOf(Exiv2::ExifData& data) {
    const auto* datum = exif(data, "Exif.Image.Orientation");
    const long value = datum ? datum->toLong(0) : 1;
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
}

PictureMetadata mapMetadata(Exiv2::Image& image) {
    Exiv2::ExifData& exifData = image.exifData();
    Exiv2::IptcData& iptc = image.iptcData();
    Exiv2::XmpData& xmp = image.xmpData();
    const auto iptcText = [&iptc](const char* name) {
        return textOf(find<Exiv2::IptcData, Exiv2::IptcKey>(iptc, name));
    };
    const auto xmpText = [&xmp](const char* name) {
        return textOf(find<Exiv2::XmpData, Exiv2::XmpKey>(xmp, name));
    };

    PictureMetadata metadata;
    metadata.orientation = orientationOf(exifData);
    metadata.dateTaken = dateOf(exif(exifData, "Exif.Photo.DateTimeOriginal"));
    if (!metadata.dateTaken) {
        metadata.dateTaken = dateOf(exif(exifData, "Exif.Image.DateTime"));
    }
    metadata.camera = cameraOf(exifData);
    metadata.lens = textOf(exif(exifData, "Exif.Photo.LensModel"));
    metadata.exposure = exposureOf(exifData);
    metadata.title = firstText({xmpText("Xmp.dc.title"), iptcText("Iptc.Application2.Headline")});
    metadata.description =
        firstText({xmpText("Xmp.dc.description"), iptcText("Iptc.Application2.Caption"),
                   textOf(exif(exifData, "Exif.Image.ImageDescription"))});
    return metadata;
}

} // namespace

namespace {

template <typename Open>
PictureMetadata readMetadataOf(Open&& open) {
    prepareLibrary();
    try {
        auto image = open();
        if (image.get() == nullptr) {
            return {};
        }
        image->readMetadata();
        return mapMetadata(*image);
    } catch (const std::exception&) {
        return {}; // damaged metadata leaves the picture without it
    }
}

} // namespace

PictureMetadata readEmbeddedMetadata(Bytes bytes) {
    if (bytes.empty()) {
        return {};
    }
    return readMetadataOf(
        [&] { return Exiv2::ImageFactory::open(bytes.data(), static_cast<long>(bytes.size())); });
}

PictureMetadata readEmbeddedMetadataOfFile(const std::string& path) {
    return readMetadataOf([&] { return Exiv2::ImageFactory::open(path); });
}

std::string dateTakenText(const DateTaken& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", date.year, date.month, date.day,
                  date.hour, date.minute);
    return text;
}

} // namespace vellumar
