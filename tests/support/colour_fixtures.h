#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <jpeglib.h>
#include <lcms2.h>
#include <string>
#include <vector>

#include "imaging/bitmap.h"

namespace vellumar::testing {

// Profiles made by Little CMS for the tests, as cameras, phones and raw developers embed
// them. The tests convert with Little CMS themselves to know what a picture should become.

struct Primaries {
    cmsCIExyY white;
    cmsCIExyYTRIPLE rgb;
};

inline constexpr Primaries kP3{{0.3127, 0.3290, 1},
                               {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}}};
inline constexpr Primaries kAdobeLike{{0.3127, 0.3290, 1},
                                      {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}}};
inline constexpr Primaries kProPhotoLike{
    {0.3457, 0.3585, 1}, {{0.7347, 0.2653, 1}, {0.1596, 0.8404, 1}, {0.0366, 0.0001, 1}}};

inline std::vector<std::uint8_t> savedProfile(cmsHPROFILE profile, const char* description) {
    cmsMLU* text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", description);
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    std::vector<std::uint8_t> bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// gamma 0 stands for the sRGB curve.
inline std::vector<std::uint8_t> rgbProfile(const Primaries& primaries, double gamma,
                                            const char* description) {
    const std::array<double, 5> srgb{2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = gamma == 0 ? cmsBuildParametricToneCurve(nullptr, 4, srgb.data())
                                     : cmsBuildGamma(nullptr, gamma);
    std::array<cmsToneCurve*, 3> curves{curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&primaries.white, &primaries.rgb, curves.data());
    cmsFreeToneCurve(curve);
    return savedProfile(profile, description);
}

inline std::vector<std::uint8_t> displayP3Profile() {
    return rgbProfile(kP3, 0, "Display P3");
}
inline std::vector<std::uint8_t> adobeLikeProfile() {
    return rgbProfile(kAdobeLike, 563.0 / 256, "Adobe-like RGB");
}
inline std::vector<std::uint8_t> proPhotoLikeProfile() {
    return rgbProfile(kProPhotoLike, 1.8, "ProPhoto-like RGB");
}
inline std::vector<std::uint8_t> grayProfile(double gamma) {
    cmsToneCurve* curve = cmsBuildGamma(nullptr, gamma);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), curve);
    cmsFreeToneCurve(curve);
    return savedProfile(profile, "Gray test");
}

// The press profile Debian's ghostscript ships, which the program falls back to as well.
inline std::vector<std::uint8_t> pressCmykProfileBytes() {
    std::vector<std::uint8_t> bytes;
    if (FILE* file = std::fopen("/usr/share/color/icc/ghostscript/default_cmyk.icc", "rb")) {
        std::array<std::uint8_t, 4096> block{};
        while (const std::size_t count = std::fread(block.data(), 1, block.size(), file)) {
            bytes.insert(bytes.end(), block.begin(), block.begin() + count);
        }
        std::fclose(file);
    }
    return bytes;
}

// Saturated colours in every hue across, from dark to light down: what a gamut conversion
// changes most.
inline Bitmap colourfulPicture(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const double light = 0.15 + 0.85 * y / std::max(1, height - 1);
        for (int x = 0; x < width; ++x) {
            const double hue = 6.0 * x / width;
            const double f = hue - std::floor(hue);
            std::array<double, 3> c{};
            switch (static_cast<int>(hue) % 6) {
            case 0:
                c = {1, f, 0};
                break;
            case 1:
                c = {1 - f, 1, 0};
                break;
            case 2:
                c = {0, 1, f};
                break;
            case 3:
                c = {0, 1 - f, 1};
                break;
            case 4:
                c = {f, 0, 1};
                break;
            default:
                c = {1, 0, 1 - f};
            }
            bitmap.setPixel(x, y,
                            {static_cast<std::uint8_t>(std::lround(255 * light * c[0])),
                             static_cast<std::uint8_t>(std::lround(255 * light * c[1])),
                             static_cast<std::uint8_t>(std::lround(255 * light * c[2]))});
        }
    }
    return bitmap;
}

// Converts 24-bit pixels from the profile to sRGB (or Display P3) the way the program is
// meant to: relative colorimetric with black-point compensation.
inline Bitmap convertedWithLcms(const Bitmap& picture, const std::vector<std::uint8_t>& profile,
                                bool toDisplayP3 = false, cmsUInt32Number format = TYPE_RGB_8) {
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.data(), profile.size());
    cmsHPROFILE target = cmsCreate_sRGBProfile();
    if (toDisplayP3) {
        cmsCloseProfile(target);
        const std::vector<std::uint8_t> p3 = displayP3Profile();
        target = cmsOpenProfileFromMem(p3.data(), p3.size());
    }
    cmsHTRANSFORM transform =
        cmsCreateTransform(source, format, target, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                           cmsFLAGS_BLACKPOINTCOMPENSATION);
    Bitmap result = Bitmap::uninitialized(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y) {
        cmsDoTransform(transform, picture.row(y), result.row(y),
                       static_cast<cmsUInt32Number>(picture.width()));
    }
    cmsDeleteTransform(transform);
    cmsCloseProfile(source);
    cmsCloseProfile(target);
    return result;
}

// Converts samples of any layout Little CMS knows (rows without gaps) from the source profile
// to 8-bit sRGB the way the program is meant to; the profile stays the caller's.
inline Bitmap samplesThroughLcms(const void* samples, int width, int height, cmsHPROFILE source,
                                 cmsUInt32Number format) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform =
        cmsCreateTransform(source, format, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC,
                           cmsFLAGS_BLACKPOINTCOMPENSATION);
    Bitmap result = Bitmap::uninitialized(width, height);
    cmsDoTransform(transform, samples, result.row(0),
                   static_cast<cmsUInt32Number>(width) * static_cast<cmsUInt32Number>(height));
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    return result;
}

inline Bitmap samplesThroughLcms(const void* samples, int width, int height,
                                 const std::vector<std::uint8_t>& profile, cmsUInt32Number format) {
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.data(), profile.size());
    Bitmap result = samplesThroughLcms(samples, width, height, source, format);
    cmsCloseProfile(source);
    return result;
}

// The mean absolute difference of two pictures of one size, over every sample.
inline double meanDifference(const Bitmap& a, const Bitmap& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 3; ++x) {
            sum += std::abs(a.row(y)[x] - b.row(y)[x]);
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// A JPEG of the picture (three or, with cmyk, four samples a pixel, rows without gaps) whose
// markers carry the profile in pieces (each at most 65519 bytes) and, when given, an EXIF
// block.
struct JpegMarkers {
    std::vector<std::uint8_t> profile;
    int pieces = 1;
    std::vector<std::uint8_t> exif; // the APP1 contents after "Exif\0\0"
};

inline std::vector<std::uint8_t> jpegWith(const std::uint8_t* samples, int width, int height,
                                          bool cmyk, const JpegMarkers& markers) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (!markers.exif.empty()) {
        std::vector<std::uint8_t> app1{'E', 'x', 'i', 'f', 0, 0};
        app1.insert(app1.end(), markers.exif.begin(), markers.exif.end());
        jpeg_write_marker(&info, JPEG_APP0 + 1, app1.data(), static_cast<unsigned>(app1.size()));
    }
    const std::size_t total = markers.profile.size();
    for (int piece = 0; piece < markers.pieces && total != 0; ++piece) {
        const std::size_t first = total * piece / markers.pieces;
        const std::size_t count = total * (piece + 1) / markers.pieces - first;
        std::vector<std::uint8_t> app2{'I',
                                       'C',
                                       'C',
                                       '_',
                                       'P',
                                       'R',
                                       'O',
                                       'F',
                                       'I',
                                       'L',
                                       'E',
                                       0,
                                       static_cast<std::uint8_t>(piece + 1),
                                       static_cast<std::uint8_t>(markers.pieces)};
        app2.insert(app2.end(), markers.profile.begin() + first,
                    markers.profile.begin() + first + count);
        jpeg_write_marker(&info, JPEG_APP0 + 2, app2.data(), static_cast<unsigned>(app2.size()));
    }
    const std::size_t stride = static_cast<std::size_t>(width) * (cmyk ? 4 : 3);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

inline std::vector<std::uint8_t> jpegWith(const Bitmap& picture, const JpegMarkers& markers) {
    return jpegWith(picture.row(0), picture.width(), picture.height(), false, markers);
}

// A big-endian EXIF block whose interoperability index is the one given ("R03" for Adobe
// RGB, "R98" for sRGB): IFD0 points at the EXIF directory, which points at the
// interoperability directory.
inline std::vector<std::uint8_t> exifWithInteropIndex(const char* index) {
    std::vector<std::uint8_t> b{'M', 'M', 0, 42, 0, 0, 0, 8};
    const auto u16 = [&](unsigned v) {
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        b.push_back(static_cast<std::uint8_t>(v));
    };
    const auto u32 = [&](unsigned v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    };
    // IFD0 at 8: one entry (ExifIFD -> 26), next 0.
    u16(1);
    u16(0x8769);
    u16(4);
    u32(1);
    u32(26);
    u32(0);
    // EXIF directory at 26: one entry (InteropIFD -> 44), next 0.
    u16(1);
    u16(0xA005);
    u16(4);
    u32(1);
    u32(44);
    u32(0);
    // Interoperability directory at 44: InteropIndex, ASCII, 4 bytes in place.
    u16(1);
    u16(0x0001);
    u16(2);
    u32(4);
    b.insert(b.end(), index, index + 3);
    b.push_back(0);
    u32(0);
    return b;
}

} // namespace vellumar::testing
