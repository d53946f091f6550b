#include "copied_picture_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <set>
#include <string_view>
#include <vector>

#include "file_io.h"
#include "html/page_background.h"
#include "imaging/jpeg_writer.h"
#include "imaging/memory_budget.h"
#include "model/gallery_file_names.h"
#include "project_error.h"
#include "readers/svg_check.h"
#include "text_util.h"

namespace vellumar {

namespace {

// Enough for every signature at the start of a file.
constexpr std::size_t kSniffBytes = 64 * 1024;
// Files without a signature at their start are read whole to find one, up to this size;
// larger ones are no background anybody means.
constexpr std::uint64_t kLargestFileReadWhole = 256u << 20;

// The formats every browser shows, by an extension that selects each one's reader.
constexpr std::array<std::string_view, 4> kWebPictureExtensions = {"gif", "png", "jpg", "webp"};

enum class Use { Button, Background };

enum class Accepted {
    WebPicturesAndSvg, // copied under its own name
    WebPictures,       // copied under a name of its own format's kind
    AnyPicture,        // converted to JPEG
};

std::string useText(Use use) {
    return use == Use::Button ? "a button image" : "a background picture";
}

[[noreturn]] void refuse(const std::string& path, Use use, const std::string& reason) {
    throw ProjectError("Cannot use " + shownAsUtf8(path) + " as " + useText(use) + ": " + reason);
}

std::vector<std::uint8_t> firstBytes(const ReadOnlyFile& file) {
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(kSniffBytes, file.size()));
    bytes.resize(file.readAt(0, bytes));
    return bytes;
}

// The reader whose signature the bytes carry, among those the file may be.
const ReaderClass* readerOf(Bytes head, Accepted accepted, const PictureFormatRegistry& formats) {
    if (accepted == Accepted::AnyPicture) {
        return formats.readerBySignature(head);
    }
    for (const std::string_view extension : kWebPictureExtensions) {
        const ReaderClass& reader = formats.readerFor("picture." + std::string(extension));
        if (reader.decoder && reader.decoder->sniff(head)) {
            return &reader;
        }
    }
    return nullptr;
}

// Decodes the whole picture, as a browser or the converter would, within the memory a single
// picture may take.
void decodeWhole(const ReaderClass& reader, const ReadOnlyFile& file,
                 std::vector<std::uint8_t> head, Accepted accepted) {
    const PictureReader& decoder = *reader.decoder;
    if (!decoder.readsInPieces() && head.size() < file.size()) {
        head.resize(file.size());
        head.resize(file.readAt(0, head));
    }
    const PictureSource source{head, file.path(), decoder.readsInPieces() ? &file : nullptr};
    const PictureSize size = decoder.probe(source);
    // A JPEG is copied into the converted file as it is; anything else is encoded anew.
    if (accepted == Accepted::AnyPicture && reader.kind != ReaderKind::Jpeg &&
        (size.width > kMaxJpegSide || size.height > kMaxJpegSide)) {
        throw ProjectError("it is " + std::to_string(size.width) + " x " +
                           std::to_string(size.height) + " pixels, but a JPEG side holds at most " +
                           std::to_string(kMaxJpegSide) + " pixels");
    }
    MemoryBudget budget;
    const MemoryBudget::Reservation memory =
        budget.reserve(file.path(), size, decoder.decodeMemory(source, size));
    decoder.decode(source);
}

void checkPicture(const std::string& path, Use use, Accepted accepted,
                  const PictureFormatRegistry& formats) {
    const ReadOnlyFile file(path);
    std::vector<std::uint8_t> head = firstBytes(file);
    const ReaderClass* reader = readerOf(head, accepted, formats);
    // Some formats say what they are only at their end (a Truevision footer).
    if (reader == nullptr && accepted == Accepted::AnyPicture && head.size() < file.size() &&
        file.size() <= kLargestFileReadWhole) {
        head.resize(file.size());
        head.resize(file.readAt(0, head));
        reader = readerOf(head, accepted, formats);
    }
    if (reader == nullptr) {
        if (accepted == Accepted::WebPicturesAndSvg && isSvgPicture(file)) {
            return;
        }
        if (formats.readerBySignature(head) != nullptr) {
            refuse(path, use,
                   std::string("it is not a picture browsers show: use a GIF, PNG, JPEG") +
                       (accepted == Accepted::WebPicturesAndSvg ? ", WebP or SVG" : " or WebP") +
                       " picture");
        }
        refuse(path, use, "it is not a picture");
    }
    try {
        decodeWhole(*reader, file, std::move(head), accepted);
    } catch (const ProjectError& error) {
        refuse(path, use, error.what());
    } catch (const std::bad_alloc&) {
        refuse(path, use, "there is not enough memory to read it");
    }
}

void checkButton(const TNavLink& link, const PictureFormatRegistry& formats) {
    if (!isValidUtf8(buttonFileName(link))) {
        refuse(link.file, Use::Button, "pages link to it by its name, which is not UTF-8 text");
    }
    checkPicture(link.file, Use::Button, Accepted::WebPicturesAndSvg, formats);
}

void checkBackground(const BackgroundSource& source, const PictureFormatRegistry& formats) {
    switch (source.way) {
    case BackgroundSource::Way::None:
        return;
    case BackgroundSource::Way::Copied:
        checkPicture(source.path, Use::Background, Accepted::WebPictures, formats);
        return;
    case BackgroundSource::Way::Converted:
        checkPicture(source.path, Use::Background, Accepted::AnyPicture, formats);
        // The converter takes the reader of the file's extension unless the bytes name
        // another, so an extension it does not know would stop it half-way.
        try {
            formats.readerFor(source.path);
        } catch (const ProjectError& error) {
            refuse(source.path, Use::Background, error.what());
        }
        return;
    }
}

} // namespace

void checkCopiedPictures(const GallerySettings& settings, const PictureFormatRegistry& formats) {
    // Styles use one image for several links; it is read once.
    std::set<std::string> checked;
    for (const TNavLink* link : copiedButtons(settings)) {
        if (checked.insert(link->file).second) {
            checkButton(*link, formats);
        }
    }
    checkBackground(pageBackgroundSource(settings.IdxPageBGPic), formats);
    checkBackground(tableBackgroundSource(settings.ThumbTableBGPic), formats);
    checkBackground(pageBackgroundSource(settings.PageBGPic), formats);
}

} // namespace vellumar
