#include "jpeg_segments.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vellumar {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kFirstApplication = 0xE0;
constexpr std::uint8_t kLastApplication = 0xEF;
constexpr std::uint8_t kAdobe = 0xEE;
constexpr std::uint8_t kComment = 0xFE;

// An APP2 segment holds at most 65533 bytes after its length; the profile's chunks share
// them with a 12-byte signature and two bytes that number them, at most 255 chunks.
constexpr std::array<std::uint8_t, 12> kIccSignature = {'I', 'C', 'C', '_', 'P', 'R',
                                                        'O', 'F', 'I', 'L', 'E', '\0'};
constexpr std::size_t kIccChunkBytes = 65533 - kIccSignature.size() - 2;
constexpr std::size_t kMaxIccChunks = 255;

// The JFIF header up to its preview's size: version, density and its units.
constexpr std::size_t kJfifFields = 14;

using Bytes = std::span<const std::uint8_t>;

bool startsWith(Bytes data, std::string_view text) {
    return data.size() >= text.size() && std::equal(text.begin(), text.end(), data.begin());
}

// Arithmetic-coded frames and the segment of their conditioning tables.
bool arithmeticCoding(std::uint8_t marker) {
    return (marker >= 0xC9 && marker <= 0xCB) || (marker >= 0xCD && marker <= 0xCF) ||
           marker == 0xCC;
}

bool restartMarker(std::uint8_t marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

// Restart markers and the marker for private use, which libjpeg passes over between
// segments: they have no length and no data.
bool standsAlone(std::uint8_t marker) {
    return marker == 0x01 || restartMarker(marker);
}

// Where the coded data that starts at `at` ends: at the first marker that is not a restart
// marker. A 0xFF in the data is followed by a zero; fill bytes may repeat 0xFF.
std::size_t scanDataEnd(Bytes jpeg, std::size_t at) {
    while (true) {
        const auto found =
            std::find(jpeg.begin() + static_cast<std::ptrdiff_t>(at), jpeg.end(), kMarker);
        at = static_cast<std::size_t>(found - jpeg.begin());
        if (at + 1 >= jpeg.size()) {
            return jpeg.size();
        }
        const std::uint8_t next = jpeg[at + 1];
        if (next != 0 && next != kMarker && !restartMarker(next)) {
            return at;
        }
        ++at;
    }
}

// A JFIF header as the source's, without its preview picture.
void appendJfif(std::vector<std::uint8_t>& out, Bytes sourceFields) {
    out.insert(out.end(), {kMarker, kFirstApplication, 0, 2 + kJfifFields});
    out.insert(out.end(), sourceFields.begin(), sourceFields.begin() + kJfifFields - 2);
    out.insert(out.end(), {0, 0}); // no preview
}

// The profile in APP2 segments, each a chunk after the signature, its number and the count.
void appendProfile(std::vector<std::uint8_t>& out, Bytes profile) {
    const std::size_t count = (profile.size() + kIccChunkBytes - 1) / kIccChunkBytes;
    for (std::size_t index = 0; index < count; ++index) {
        const Bytes chunk =
            profile.subspan(index * kIccChunkBytes,
                            std::min(kIccChunkBytes, profile.size() - index * kIccChunkBytes));
        const std::size_t length = 2 + kIccSignature.size() + 2 + chunk.size();
        out.insert(out.end(),
                   {kMarker, kFirstApplication + 2, static_cast<std::uint8_t>(length >> 8),
                    static_cast<std::uint8_t>(length & 0xFF)});
        out.insert(out.end(), kIccSignature.begin(), kIccSignature.end());
        out.push_back(static_cast<std::uint8_t>(index + 1));
        out.push_back(static_cast<std::uint8_t>(count));
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
}

// Start-of-frame markers: C0 to CF but for DHT (C4), JPG (C8) and DAC (CC).
bool isFrame(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Baseline, extended sequential and progressive Huffman frames of 8-bit samples.
bool decodableFrame(std::uint8_t marker, Bytes data) {
    return marker <= 0xC2 && !data.empty() && data[0] == 8;
}

} // namespace

std::optional<std::vector<std::uint8_t>> keepDecodingSegments(Bytes jpeg, Bytes iccProfile) {
    if (iccProfile.size() > kIccChunkBytes * kMaxIccChunks || jpeg.size() < 2 ||
        jpeg[0] != kMarker || jpeg[1] != kStartOfImage) {
        return std::nullopt;
    }
    // What is kept, in order: the Adobe markers go first, beside the JFIF header's fields,
    // which are written afresh.
    std::vector<Bytes> kept;
    std::vector<Bytes> adobe;
    Bytes jfif;
    bool sawFrame = false;
    bool sawScan = false;
    std::size_t at = 2;
    while (true) {
        if (at >= jpeg.size() || jpeg[at] != kMarker) {
            return std::nullopt;
        }
        while (at < jpeg.size() && jpeg[at] == kMarker) { // fill bytes may precede a marker
            ++at;
        }
        if (at >= jpeg.size()) {
            return std::nullopt;
        }
        const std::size_t start = at - 1;
        const std::uint8_t marker = jpeg[at++];
        if (marker == kEndOfImage) {
            if (!sawFrame || !sawScan) {
                return std::nullopt;
            }
            kept.push_back(jpeg.subspan(start, 2));
            break;
        }
        if (standsAlone(marker)) { // carries nothing: left out
            continue;
        }
        if (marker == 0 || marker == kStartOfImage) {
            return std::nullopt;
        }
        if (at + 2 > jpeg.size()) {
            return std::nullopt;
        }
        const std::size_t length = static_cast<std::size_t>(jpeg[at]) << 8 | jpeg[at + 1];
        if (length < 2 || at + length > jpeg.size() || arithmeticCoding(marker)) {
            return std::nullopt;
        }
        const Bytes data = jpeg.subspan(at + 2, length - 2);
        at += length;
        if (isFrame(marker)) {
            // Only 8-bit Huffman-coded frames, which every browser decodes.
            if (!decodableFrame(marker, data)) {
                return std::nullopt;
            }
            sawFrame = true;
        }
        sawScan = sawScan || marker == kStartOfScan;
        if (marker == kFirstApplication && jfif.empty() &&
            startsWith(data, std::string_view("JFIF\0", 5)) && data.size() >= kJfifFields) {
            jfif = data;
        } else if (marker == kAdobe && startsWith(data, "Adobe")) {
            adobe.push_back(jpeg.subspan(start, at - start));
        } else if ((marker < kFirstApplication || marker > kLastApplication) &&
                   marker != kComment) {
            kept.push_back(jpeg.subspan(start, at - start));
            if (marker == kStartOfScan) {
                const std::size_t end = scanDataEnd(jpeg, at);
                kept.push_back(jpeg.subspan(at, end - at));
                at = end;
            }
        }
    }
    std::vector<std::uint8_t> out = {kMarker, kStartOfImage};
    // A photograph's data is megabytes: copied once, not grown into.
    out.reserve(jpeg.size() + iccProfile.size() + (iccProfile.size() / kIccChunkBytes + 1) * 18 +
                kJfifFields + 32);
    if (!jfif.empty()) {
        appendJfif(out, jfif);
    }
    const auto append = [&out](Bytes piece) { out.insert(out.end(), piece.begin(), piece.end()); };
    std::for_each(adobe.begin(), adobe.end(), append);
    appendProfile(out, iccProfile);
    std::for_each(kept.begin(), kept.end(), append);
    return out;
}

} // namespace vellumar
