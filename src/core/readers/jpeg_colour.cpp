#include "jpeg_colour.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "project_error.h"
#include "readers/byte_reader.h"

namespace vellumar {

namespace {

constexpr std::uint8_t kApp1 = 0xE1;
constexpr std::uint8_t kApp2 = 0xE2;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr char kIccSignature[] = "ICC_PROFILE"; // with its terminating zero: 12 bytes
constexpr char kExifSignature[] = "Exif\0";     // with its terminating zero: 6 bytes

// A start-of-frame marker (SOF0 to SOF15, without DHT, JPG and DAC).
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool startsWith(Bytes data, const char* signature, std::size_t length) {
    return data.size() >= length && std::memcmp(data.data(), signature, length) == 0;
}

// The pieces of an embedded profile, by their 1-based numbers.
class IccPieces {
public:
    void add(Bytes segment) {
        m_present = true;
        if (segment.size() < sizeof kIccSignature + 2) {
            m_damaged = true;
            return;
        }
        const int number = segment[sizeof kIccSignature];
        const int count = segment[sizeof kIccSignature + 1];
        if (number == 0 || number > count || (m_count != 0 && count != m_count)) {
            m_damaged = true;
            return;
        }
        m_count = count;
        m_pieces.resize(static_cast<std::size_t>(count));
        auto& piece = m_pieces[static_cast<std::size_t>(number - 1)];
        if (piece) {
            m_damaged = true; // the same piece twice
            return;
        }
        piece = segment.subspan(sizeof kIccSignature + 2);
    }

    bool present() const { return m_present; }

    // The profile, or nothing when a piece is missing or the numbers disagree.
    std::optional<std::vector<std::uint8_t>> joined() const {
        if (m_damaged) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> profile;
        for (const auto& piece : m_pieces) {
            if (!piece) {
                return std::nullopt;
            }
            profile.insert(profile.end(), piece->begin(), piece->end());
        }
        return profile;
    }

private:
    bool m_present = false;
    bool m_damaged = false;
    int m_count = 0;
    std::vector<std::optional<Bytes>> m_pieces;
};

// Reads TIFF numbers in the byte order the EXIF block declares.
class TiffWalker {
public:
    explicit TiffWalker(Bytes tiff) : m_tiff(tiff) {
        ByteReader reader(tiff);
        const std::uint16_t order = reader.u16be();
        if (order != 0x4949 && order != 0x4D4D) {
            throw ProjectError("not a TIFF block");
        }
        m_little = order == 0x4949;
    }

    std::uint32_t firstDirectory() const { return u32(4); }

    // The value field of a tag in the directory at offset, or nothing.
    std::optional<std::uint32_t> tagValueOffset(std::uint32_t directory, std::uint16_t tag) const {
        const std::uint16_t count = u16(directory);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t entry = directory + 2 + 12 * i;
            if (u16(entry) == tag) {
                return entry + 8;
            }
        }
        return std::nullopt;
    }

    std::uint16_t u16(std::uint64_t offset) const {
        ByteReader reader(m_tiff, offset);
        return m_little ? reader.u16le() : reader.u16be();
    }
    std::uint32_t u32(std::uint64_t offset) const {
        ByteReader reader(m_tiff, offset);
        return m_little ? reader.u32le() : reader.u32be();
    }
    Bytes bytes(std::uint64_t offset, std::uint64_t count) const {
        return ByteReader(m_tiff).slice(offset, count);
    }

private:
    Bytes m_tiff;
    bool m_little = false;
};

// Whether EXIF says Adobe RGB the way cameras do without a profile: an interoperability index
// of "R03", unless the colour-space tag says sRGB.
bool exifSaysAdobeRgb(Bytes exif) {
    constexpr std::uint16_t kExifDirectory = 0x8769;
    constexpr std::uint16_t kColourSpace = 0xA001;
    constexpr std::uint16_t kInteropDirectory = 0xA005;
    constexpr std::uint16_t kInteropIndex = 0x0001;
    constexpr std::uint16_t kSrgb = 1;
    try {
        const TiffWalker tiff(exif);
        const auto exifAt = tiff.tagValueOffset(tiff.firstDirectory(), kExifDirectory);
        if (!exifAt) {
            return false;
        }
        const std::uint32_t exifDirectory = tiff.u32(*exifAt);
        if (const auto space = tiff.tagValueOffset(exifDirectory, kColourSpace);
            space && tiff.u16(*space) == kSrgb) {
            return false;
        }
        const auto interopAt = tiff.tagValueOffset(exifDirectory, kInteropDirectory);
        if (!interopAt) {
            return false;
        }
        const auto index = tiff.tagValueOffset(tiff.u32(*interopAt), kInteropIndex);
        // Four characters or fewer sit in the value field itself.
        return index && std::ranges::equal(tiff.bytes(*index, 3), std::string_view("R03"));
    } catch (const ProjectError&) {
        return false; // a damaged EXIF block says nothing
    }
}

} // namespace

ColourDescription jpegColour(Bytes bytes) {
    IccPieces icc;
    bool adobeRgb = false;
    int components = 3;
    try {
        ByteReader reader(bytes, 2);
        while (reader.has(4)) {
            if (reader.u8() != 0xFF) {
                break;
            }
            std::uint8_t marker = reader.u8();
            while (marker == 0xFF) {
                marker = reader.u8(); // fill bytes
            }
            if (marker == kStartOfScan || marker == 0xD9) {
                break;
            }
            if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
                continue; // markers without a length
            }
            const std::uint16_t length = reader.u16be();
            if (length < 2) {
                break;
            }
            const Bytes segment = reader.take(length - 2u);
            if (marker == kApp2 && startsWith(segment, kIccSignature, sizeof kIccSignature)) {
                icc.add(segment);
            } else if (marker == kApp1 &&
                       startsWith(segment, kExifSignature, sizeof kExifSignature)) {
                adobeRgb = adobeRgb || exifSaysAdobeRgb(segment.subspan(sizeof kExifSignature));
            } else if (isFrameHeader(marker) && segment.size() >= 6) {
                components = segment[5];
            }
        }
    } catch (const ProjectError&) {
        // What was read before the data ended still tells its colours.
    }
    if (icc.present()) {
        // Damaged pieces give a profile that cannot be read.
        return ColourDescription::iccProfile(icc.joined().value_or(std::vector<std::uint8_t>{}));
    }
    if (components == 4) {
        return ColourDescription::pressCmyk();
    }
    return adobeRgb ? ColourDescription::adobeRgbFromExif() : ColourDescription::srgb();
}

} // namespace vellumar
