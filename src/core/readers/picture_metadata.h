#pragma once

#include <compare>
#include <optional>
#include <string>

#include "readers/picture_reader.h"

namespace vellumar {

// A moment as a camera records it: local time, without a zone.
struct DateTaken {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTaken&) const = default;
};

// What a picture file tells about itself besides its pixels. Every value is left empty (and
// the orientation 1) when the file does not carry it or carries it damaged.
struct PictureMetadata {
    int orientation = 1; // EXIF orientation, 1..8
    std::optional<DateTaken> dateTaken;
    std::string camera;   // model, preceded by the make unless the model repeats it
    std::string lens;     // lens model
    std::string exposure; // as "1/250 s, f/5.6, ISO 200, 35 mm", the parts known
    // The first of these that a person wrote (isCameraBoilerplate passes over the others):
    std::string title;       // XMP dc:title, else IPTC headline
    std::string description; // XMP dc:description, else IPTC caption, else EXIF description

    bool operator==(const PictureMetadata&) const = default;
};

// The EXIF, IPTC and XMP values of a picture file held in memory. Never fails: metadata
// that cannot be read is left out, so a picture reads the same with it or without it.
PictureMetadata readEmbeddedMetadata(Bytes bytes);
// The same for a picture file left on disk, of which only the parts holding metadata are
// read.
PictureMetadata readEmbeddedMetadataOfFile(const std::string& path);

// "2024-07-14 18:03".
std::string dateTakenText(const DateTaken& date);

} // namespace vellumar
