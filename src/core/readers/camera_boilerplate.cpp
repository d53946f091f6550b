#include "camera_boilerplate.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "text_util.h"

namespace vellumar {

namespace {

// Phrases cameras, scanners and editors write whole, compared without letter case and with
// runs of blanks as one.
constexpr std::array<std::string_view, 8> kFilledInPhrases = {
    "digital image", "digital camera", "digital still camera", "image", "photo",
    "picture",       "untitled",       "no description"};

// "OLYMPUS DIGITAL CAMERA", "KODAK Digital Still Camera", "SONY DSC": one word, the maker's
// name, in front of these. More words ("my first digital camera") make a person's title.
constexpr std::array<std::string_view, 3> kCameraEndings = {" digital camera",
                                                            " digital still camera", " dsc"};

// Extensions of the files cameras and phones write.
constexpr std::array<std::string_view, 16> kCameraFileExtensions = {
    "jpg", "jpeg", "jpe", "tif", "tiff", "png", "heic", "heif",
    "dng", "raw",  "cr2", "cr3", "nef",  "arw", "orf",  "rw2"};

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
}

// Lower case, blanks at both ends removed and runs of blanks inside made one.
std::string normalised(std::string_view text) {
    std::string result;
    for (const char c : toLowerAscii(trimBlanksAndControls(text))) {
        const bool blank = c == ' ' || c == '\t';
        if (!blank) {
            result += c;
        } else if (!result.empty() && result.back() != ' ') {
            result += ' ';
        }
    }
    return result;
}

bool isFilledInPhrase(const std::string& text) {
    if (std::find(kFilledInPhrases.begin(), kFilledInPhrases.end(), text) !=
        kFilledInPhrases.end()) {
        return true;
    }
    return std::any_of(kCameraEndings.begin(), kCameraEndings.end(), [&](std::string_view end) {
        return text.size() > end.size() && text.ends_with(end) &&
               text.find(' ') == text.size() - end.size();
    });
}

// A file name with a camera file's extension: "DCFC1247.JPG", "photo-12.jpeg".
bool isCameraFileName(std::string_view text) {
    const std::size_t dot = text.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string_view name = text.substr(0, dot);
    const std::string extension = toLowerAscii(text.substr(dot + 1));
    return std::all_of(name.begin(), name.end(), isNameCharacter) &&
           std::find(kCameraFileExtensions.begin(), kCameraFileExtensions.end(), extension) !=
               kCameraFileExtensions.end();
}

// How cameras number their files: a short upper-case stem and at least four digits, as in
// "DSCF1247", "P1010001", "IMG_0042" or "IMG_20230101_120000". Mixed case ("Year2024") is
// left to be a title.
bool isCameraFileNumber(std::string_view text) {
    std::size_t stem = 0;
    while (stem < text.size() && ((text[stem] >= 'A' && text[stem] <= 'Z') || text[stem] == '_')) {
        ++stem;
    }
    if (stem == 0 || stem > 5) {
        return false;
    }
    const std::string_view number = text.substr(stem);
    return std::count_if(number.begin(), number.end(), isAsciiDigit) >= 4 &&
           isAsciiDigit(number.front()) && std::all_of(number.begin(), number.end(), [](char c) {
               return isAsciiDigit(c) || c == '_';
           });
}

} // namespace

bool isCameraBoilerplate(std::string_view text) {
    const std::string trimmed = trimBlanksAndControls(text);
    return trimmed.empty() || isFilledInPhrase(normalised(trimmed)) || isCameraFileName(trimmed) ||
           isCameraFileNumber(trimmed);
}

} // namespace vellumar
