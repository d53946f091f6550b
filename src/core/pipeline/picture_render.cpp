#include "picture_render.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "colour/colour_conversion.h"
#include "imaging/averaged_stretch.h"
#include "imaging/avif_writer.h"
#include "imaging/camera_orientation.h"
#include "imaging/gen_pic.h"
#include "imaging/jpeg_pass_through.h"
#include "imaging/jpeg_writer.h"
#include "imaging/responsive_copy.h"
#include "imaging/rotate.h"
#include "imaging/shrink_on_load.h"
#include "imaging/smooth_reduction.h"
#include "imaging/webp_writer.h"
#include "integer_text.h"
#include "project_error.h"
#include "readers/picture_loader.h"

namespace vellumar {

namespace {

int positiveSize(const std::string& text, const std::string& what) {
    const int value = toInteger(text);
    if (value < 1) {
        throw ProjectError(what + " must be at least 1 pixel, not " + text + ".");
    }
    return value;
}

// Every picture shaped to the box comes out at most as large as the box and its border, which
// must fit a JPEG.
void checkBoxFitsJpeg(const PictureBox& box, const std::string& what) {
    const std::int64_t border = 2 * std::int64_t{std::max(box.borderWidth, 0)};
    const std::int64_t width = box.width + border;
    const std::int64_t height = box.height + border;
    if (width > kMaxJpegSide || height > kMaxJpegSide) {
        throw ProjectError("The " + what + " would be " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels with its border, but a JPEG side " +
                           "holds at most " + std::to_string(kMaxJpegSide) + " pixels.");
    }
}

// An exact box when both sides are on; with one side on, a square of that size in which the
// picture keeps its aspect.
PictureBox boxOf(const Switched<std::string>& width, const Switched<std::string>& height,
                 const std::string& what, bool border, const std::string& borderWidth,
                 Color borderColor) {
    PictureBox box;
    if (width.on && height.on) {
        box.width = positiveSize(width.value, "The " + what + " width");
        box.height = positiveSize(height.value, "The " + what + " height");
    } else {
        const bool byWidth = width.on;
        box.width = box.height = positiveSize(byWidth ? width.value : height.value,
                                              "The " + what + (byWidth ? " width" : " height"));
        box.keepRatio = true;
    }
    box.borderWidth = border ? toInteger(borderWidth) : 0;
    box.borderColor = border ? borderColor : kWhite;
    checkBoxFitsJpeg(box, what);
    return box;
}

// A large picture of the picture's own size is as large as the picture, turned: found from
// the header, so that a picture too large for a JPEG is refused before it is decoded.
void checkOwnSizeFitsJpeg(const std::string& path, PictureSize size) {
    if (size.width > kMaxJpegSide || size.height > kMaxJpegSide) {
        throw ProjectError("Cannot make the large picture of " + path + ": the picture is " +
                           std::to_string(size.width) + " x " + std::to_string(size.height) +
                           " pixels, but a JPEG side holds at most " +
                           std::to_string(kMaxJpegSide) +
                           " pixels. Resize the large pictures to build it.");
    }
}

// The picture as decoded for a request, its own size, from which every output's size is
// computed, how much the decode reduced it, and the memory it holds while it lives.
struct DecodedPicture {
    MemoryBudget::Reservation memory; // first, so it is given back after the pixels
    Bitmap bitmap;
    PictureSize fullSize;
    int reduction = 1;
    // With colours still as the file holds them: what each output converts once it is
    // averaged down, before its frame is drawn. Nothing when they are converted already.
    const ColourDescription* unconverted = nullptr;
    ColourSpace space = ColourSpace::Srgb;
};

// Outputs that are all averaged down from the decode have their colours converted one by one,
// which converts a fraction of the pixels the decode holds.
bool convertsOutputByOutput(const PictureFile& file, ColourSpace space, bool allAveraged) {
    return allAveraged && !file.colour().isSrgb() && file.convertsAfterDecoding(space);
}

// The sizes the requested outputs are averaged down to, or nothing when one of them is made
// from the full picture.
std::optional<std::vector<PictureSize>>
averagedSizes(const RenderRequest& request, PictureSize fullSize, bool largePictureKeptAsFile) {
    std::vector<PictureSize> sizes;
    std::vector<PictureBox> thumbnailBoxes;
    if (request.thumbnail) {
        thumbnailBoxes.push_back(*request.thumbnail);
        if (request.doubleSizeThumbnail) {
            thumbnailBoxes.push_back(doubleSizeOf(*request.thumbnail));
        }
    }
    for (const PictureBox& box : thumbnailBoxes) {
        const auto size = averagedSize(box, request.crop, fullSize);
        if (!size) {
            return std::nullopt;
        }
        sizes.push_back(*size);
    }
    if (request.largePicture && largePictureKeptAsFile) {
        // Only its copies are made from the decode, each as large as its width asks.
        const PictureSize turned = turnedSize(fullSize, request.rotate);
        for (const PictureSize& copy : responsiveCopySizes(request.responsiveWidths, turned)) {
            sizes.push_back(turnedSize(copy, request.rotate));
        }
    } else if (request.largePicture) {
        const auto size = request.largePictureBox
                              ? averagedSize(shapingBoxOf(*request.largePictureBox, request.rotate),
                                             CropAlign::NoCrop, fullSize)
                              : std::nullopt;
        if (!size) {
            return std::nullopt;
        }
        sizes.push_back(*size);
    }
    return sizes;
}

bool isMade(const RenderRequest& request, const ExtraOutput& output) {
    return request.extrasMade.contains(output);
}

// Whether the bitmap of a thumbnail is needed: for its JPEG or for a twin.
bool wantsThumbnailBitmap(const RenderRequest& request, ExtraOutput::Of of, bool jpegMade) {
    return !jpegMade || std::any_of(request.modernFormats.begin(), request.modernFormats.end(),
                                    [&](ImageFormat format) {
                                        return !isMade(request, {of, 0, format});
                                    });
}

bool wantsThumbnail(const RenderRequest& request) {
    return request.thumbnail &&
           wantsThumbnailBitmap(request, ExtraOutput::Of::Thumbnail, request.thumbnailMade);
}

bool wantsDoubleSizeThumbnail(const RenderRequest& request) {
    return request.thumbnail && request.doubleSizeThumbnail &&
           wantsThumbnailBitmap(request, ExtraOutput::Of::DoubleSizeThumbnail,
                                request.doubleSizeThumbnailMade);
}

// Whether any responsive copy, in any format, is still to be made at some width.
// Every responsive copy at every listed width, in every format.
std::vector<ExtraOutput> everyResponsiveCopy(const RenderRequest& request) {
    std::vector<ExtraOutput> copies = extraOutputsOf(request, std::numeric_limits<int>::max());
    std::erase_if(copies, [](const ExtraOutput& output) {
        return output.of != ExtraOutput::Of::ResponsiveCopy;
    });
    return copies;
}

bool wantsResponsiveCopies(const RenderRequest& request) {
    const std::vector<ExtraOutput> copies = everyResponsiveCopy(request);
    return std::any_of(copies.begin(), copies.end(),
                       [&](const ExtraOutput& copy) { return !isMade(request, copy); });
}

// Whether the own-size large picture is turned by a quarter, which holds it twice.
bool largePictureCopies(const RenderRequest& request, bool largePictureKeptAsFile) {
    return request.largePicture && !request.largePictureMade && !request.largePictureBox &&
           !largePictureKeptAsFile && rotationCopies(quarterTurnsToDegrees(request.rotate));
}

// A box the output fits inside, its frame included. A picture that keeps its aspect by the
// side its orientation picks may pass the other side, but never the longer one.
PictureSize framedBoxOf(const PictureBox& box) {
    const bool square = box.keepRatio && !box.fitInside;
    const int longer = std::max(box.width, box.height);
    return {(square ? longer : box.width) + 2 * box.borderWidth,
            (square ? longer : box.height) + 2 * box.borderWidth};
}

// The most any one encode of the outputs still to make holds beside the bitmaps: outputs
// are encoded one after the other while the decode's reservation is held, so the largest
// coefficient buffer is what has to fit.
// The most one encode of a picture that fits inside bound holds, in JPEG or in a format its
// twins are made in.
std::uint64_t codingMemoryWithin(const RenderRequest& request, PictureSize bound) {
    std::uint64_t most = jpegCodingMemoryWithin(bound);
    for (const ImageFormat format : request.modernFormats) {
        most = std::max(most, format == ImageFormat::Webp ? webpCodingMemory(bound)
                                                          : avifCodingMemory(bound));
    }
    return most;
}

std::uint64_t encodeMemory(const RenderRequest& request, PictureSize fullSize) {
    std::uint64_t most = 0;
    const auto count = [&most](std::uint64_t bytes) { most = std::max(most, bytes); };
    if (wantsThumbnail(request)) {
        count(codingMemoryWithin(request, framedBoxOf(*request.thumbnail)));
    }
    if (wantsDoubleSizeThumbnail(request)) {
        count(codingMemoryWithin(request, framedBoxOf(doubleSizeOf(*request.thumbnail))));
    }
    if (request.largePicture && !request.largePictureMade) {
        count(request.largePictureBox
                  ? jpegCodingMemoryWithin(framedBoxOf(*request.largePictureBox))
                  : jpegCodingMemory(fullSize));
    }
    std::uint64_t copies = 0;
    if (wantsResponsiveCopies(request)) {
        // All of them are held until they are encoded; none is wider or taller than the
        // picture turned upright, bordered as the large picture is.
        const PictureBox* box = request.largePictureBox ? &*request.largePictureBox : nullptr;
        const PictureSize bound = box ? framedBoxOf(*box) : fullSize;
        const int longer = std::max(bound.width, bound.height);
        for (const int width : request.responsiveWidths) {
            const PictureSize copy{std::min(width, longer), longer};
            count(codingMemoryWithin(request, copy));
            copies += 3 * std::uint64_t(copy.width) * std::uint64_t(copy.height);
        }
    }
    return most + copies;
}

// One decode serves every output: a JPEG whose outputs are all averaged down is decoded as
// small as the largest of them allows. Turned as the camera was held, the picture is what
// every later step takes for the picture itself. Its memory is taken from the budget
// first, twice over when a quarter turn will hold it twice, with what its largest encode
// buffers.
DecodedPicture decodeFor(const RenderRequest& request, const PictureFile& file, int orientation,
                         ColourSpace space, bool largePictureKeptAsFile) {
    int reduction = 1;
    PictureSize fullSize = sizeAsCameraHeld(file.probe(), orientation);
    const auto sizes = request.smoothScaling
                           ? averagedSizes(request, fullSize, largePictureKeptAsFile)
                           : std::nullopt;
    if (sizes && file.decodesReduced()) {
        reduction = decodeReduction(fullSize, *sizes);
    }

    const int copies =
        cameraTurnCopies(orientation) || largePictureCopies(request, largePictureKeptAsFile) ? 2
                                                                                             : 1;
    MemoryBudget::Reservation memory =
        file.reserveDecode(*request.memory, reduction, copies, encodeMemory(request, fullSize));
    const bool unconverted = convertsOutputByOutput(file, space, sizes.has_value());
    Bitmap bitmap =
        unconverted ? file.decodeUnconverted(reduction, space) : file.decode(reduction, space);
    // Every output reads 24-bit rows; a palette picture becomes one where it lies.
    bitmap.convertToRgb24();
    bitmap = turnAsCameraHeld(std::move(bitmap), orientation);
    if (reduction == 1) {
        fullSize = {bitmap.width(), bitmap.height()};
    }
    return {std::move(memory),
            std::move(bitmap),
            fullSize,
            reduction,
            unconverted ? &file.colour() : nullptr,
            space};
}

// GenPic, except that with smooth scaling an aspect-keeping reduction averages and finishes
// with a Lanczos step: from the decoded picture, however reduced, down to the size the full
// picture gives.
Bitmap shapeOutput(const DecodedPicture& picture, const PictureBox& box, CropAlign crop,
                   int quarterTurns, bool smoothScaling) {
    if (smoothScaling) {
        if (const auto size =
                averagedSize(shapingBoxOf(box, quarterTurns), crop, picture.fullSize)) {
            Bitmap averaged = stretchSmoothly(picture.bitmap, picture.fullSize, picture.reduction,
                                              size->width, size->height);
            if (picture.unconverted) {
                convertColours(averaged, *picture.unconverted, picture.space);
            }
            return turnAndFrame(std::move(averaged), quarterTurns, box);
        }
    }
    return GenPic(picture.bitmap, box, crop, quarterTurns);
}

std::vector<std::uint8_t> encodedIn(ImageFormat format, const Bitmap& picture, bool largePicture,
                                    ColourSpace space) {
    switch (format) {
    case ImageFormat::Webp:
        return encodeWebp(picture, embeddedProfileOf(space));
    case ImageFormat::Avif:
        return encodeAvif(picture, embeddedProfileOf(space));
    case ImageFormat::Jpeg:
        break;
    }
    const PictureSize size{picture.width(), picture.height()};
    return encodeJpeg(picture, jpegCodingFor(size, largePicture), embeddedProfileOf(space));
}

std::optional<RenderedPicture> encoded(const std::optional<Bitmap>& picture, ImageFormat format,
                                       bool largePicture, const std::string& path,
                                       ColourSpace space) {
    if (!picture) {
        return std::nullopt;
    }
    try {
        return RenderedPicture{picture->width(), picture->height(),
                               encodedIn(format, *picture, largePicture, space)};
    } catch (const ProjectError& error) {
        // The encoder knows only pixels; the user needs to know which picture they came from.
        const std::string article = format == ImageFormat::Avif ? "an " : "a ";
        throw ProjectError("Cannot write " + article + std::string(formatName(format)) + " of " +
                           path + ": " + error.what());
    }
}

// Copies are averaged down without the Lanczos step of thumbnails: a copy is most often a
// few percent smaller than what it is made from, where that step would cost more than the
// whole decode, and what it sharpens hardly shows at the size of a screen. Each is averaged
// from the next wider one, which averages the same pixels at a fraction of the reads.
std::map<int, Bitmap> averagedCopies(const Bitmap& widest, std::vector<PictureSize> sizes,
                                     int quarterTurns) {
    std::map<int, Bitmap> copies;
    const Bitmap* from = &widest;
    std::vector<Bitmap> unturned;
    unturned.reserve(sizes.size());
    for (auto size = sizes.rbegin(); size != sizes.rend(); ++size) {
        const PictureSize shaped = turnedSize(*size, quarterTurns);
        unturned.push_back(stretchAveraged(*from, shaped.width, shaped.height));
        from = &unturned.back();
    }
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        copies.emplace(sizes[sizes.size() - 1 - i].width,
                       Rotate(std::move(unturned[i]), quarterTurnsToDegrees(quarterTurns)));
    }
    return copies;
}

// Copies of the large picture as made, at each responsive width narrower than it.
std::map<int, Bitmap> responsiveCopiesOf(const RenderRequest& request, const Bitmap& large) {
    if (!wantsResponsiveCopies(request)) {
        return {};
    }
    const PictureSize size{large.width(), large.height()};
    return averagedCopies(large, responsiveCopySizes(request.responsiveWidths, size), 0);
}

// Copies of a large picture of the picture's own size, made from the decode, however
// reduced, before they are turned.
std::map<int, Bitmap> responsiveCopiesOf(const RenderRequest& request,
                                         const DecodedPicture& picture) {
    if (!wantsResponsiveCopies(request)) {
        return {};
    }
    const PictureSize large = turnedSize(picture.fullSize, request.rotate);
    return averagedCopies(picture.bitmap, responsiveCopySizes(request.responsiveWidths, large),
                          request.rotate);
}

// Whether a large picture of the picture's own size is the source's own JPEG data: a JPEG
// whose colours need no conversion and whose turn keeps its blocks whole. Told from the
// header, so that its thumbnails come out the same whether it is made with them or not
// (damaged data is decoded after all when it is tried).
bool keepsOriginalJpeg(const RenderRequest& request, const PictureFile& file, int orientation) {
    return request.keepOriginalJpeg && file.readsAsJpeg() && file.colour().isSrgb() &&
           passesThroughAsItIs(file.bytes(), {orientation, request.rotate});
}

// The source's own JPEG data turned as the request asks, without what it tells about itself,
// or nothing when it cannot be passed through as it is. Its memory is taken from the budget
// while it is made.
std::optional<RenderedPicture> originalJpegOf(const RenderRequest& request, const PictureFile& file,
                                              int orientation) {
    const PictureTurn turn{orientation, request.rotate};
    const PictureSize size =
        turnedSize(sizeAsCameraHeld(file.probe(), orientation), request.rotate);
    const MemoryBudget::Reservation memory = request.memory->reserve(
        request.path, size, passThroughMemory(file.bytes(), turn) + file.bytes().size());
    std::optional<std::vector<std::uint8_t>> bytes = passThroughJpeg(file.bytes(), turn, {});
    if (!bytes) {
        return std::nullopt;
    }
    return RenderedPicture{size.width, size.height, std::move(*bytes)};
}

// A profile that cannot be used leaves the picture's colours as sRGB: said once, never a
// failed build.
std::string colourNoticeFor(const PictureFile& file, const std::string& path) {
    if (colourUsable(file.colour())) {
        return "";
    }
    return "The colour profile of " + path + " is damaged; its colours are shown as sRGB.";
}

} // namespace

PictureBox thumbnailBoxOf(const GallerySettings& s) {
    // Crop keeps both flags on, so it always cuts an exact window.
    const bool both = s.ThumbStretch == ThumbFit::Crop || (s.ThumbWidth.on && s.ThumbHeight.on);
    const PictureBox box =
        boxOf({both || !s.ThumbHeight.on, s.ThumbWidth.value}, {both, s.ThumbHeight.value},
              "thumbnail", s.ThumbBorder, s.ThumbBorderWidth, s.ThumbBorderColor);
    if (s.HiDpiThumbs) {
        checkBoxFitsJpeg(doubleSizeOf(box), "double-size thumbnail");
    }
    return box;
}

std::optional<PictureBox> largePictureBoxOf(const GallerySettings& s) {
    if (!s.ResizePic) {
        return std::nullopt;
    }
    const bool both = s.PicWidth.on && s.PicHeight.on;
    PictureBox box = boxOf({both || !s.PicHeight.on, s.PicWidth.value}, {both, s.PicHeight.value},
                           "large picture", s.PicBorder, s.PicBorderWidth, s.PicBorderColor);
    if (both && s.PicKeepRatio) {
        box.keepRatio = box.fitInside = true;
    }
    return box;
}

bool asksForOutputs(const RenderRequest& request) {
    return wantsThumbnail(request) || wantsDoubleSizeThumbnail(request) ||
           (request.largePicture && !request.largePictureMade) || wantsResponsiveCopies(request);
}

std::vector<ExtraOutput> extraOutputsOf(const RenderRequest& request,
                                        std::optional<int> largePictureWidth) {
    std::vector<ExtraOutput> outputs;
    for (const ImageFormat format : request.modernFormats) {
        if (request.thumbnail) {
            outputs.push_back({ExtraOutput::Of::Thumbnail, 0, format});
            if (request.doubleSizeThumbnail) {
                outputs.push_back({ExtraOutput::Of::DoubleSizeThumbnail, 0, format});
            }
        }
    }
    if (!request.largePicture || !largePictureWidth) {
        return outputs;
    }
    for (const int width : request.responsiveWidths) {
        if (width < *largePictureWidth) {
            outputs.push_back({ExtraOutput::Of::ResponsiveCopy, width, ImageFormat::Jpeg});
            for (const ImageFormat format : request.modernFormats) {
                outputs.push_back({ExtraOutput::Of::ResponsiveCopy, width, format});
            }
        }
    }
    return outputs;
}

void markLargePictureMade(RenderRequest& request) {
    request.largePictureMade = true;
    for (const ExtraOutput& copy : everyResponsiveCopy(request)) {
        request.extrasMade.insert(copy);
    }
}

RenderedBitmaps renderBitmaps(const RenderRequest& request, const PictureFormatRegistry& formats) {
    const PictureFile file(request.path, formats);
    RenderedBitmaps outputs;
    outputs.metadata = file.metadata();
    if (!asksForOutputs(request)) {
        return outputs;
    }
    const int orientation = request.autoRotate ? outputs.metadata.orientation : 1;
    const bool ownSize = request.largePicture && !request.largePictureBox;
    if (ownSize && !request.largePictureMade) {
        checkOwnSizeFitsJpeg(request.path, sizeAsCameraHeld(file.probe(), orientation));
    }
    outputs.colourNotice = colourNoticeFor(file, request.path);
    outputs.colourSpace = outputSpaceFor(file.colour(), request.wideGamut);
    bool keptAsFile = ownSize && keepsOriginalJpeg(request, file, orientation);
    if (keptAsFile && !request.largePictureMade) {
        outputs.largePictureFile = originalJpegOf(request, file, orientation);
        keptAsFile = outputs.largePictureFile.has_value();
    }
    if (keptAsFile && !wantsThumbnail(request) && !wantsDoubleSizeThumbnail(request) &&
        !wantsResponsiveCopies(request)) {
        return outputs; // nothing else to make: no decode
    }
    DecodedPicture picture = decodeFor(request, file, orientation, outputs.colourSpace, keptAsFile);
    if (const auto& box = request.thumbnail; box && wantsThumbnail(request)) {
        outputs.thumbnail =
            shapeOutput(picture, *box, request.crop, request.rotate, request.smoothScaling);
    }
    if (const auto& box = request.thumbnail; box && wantsDoubleSizeThumbnail(request)) {
        outputs.doubleSizeThumbnail = shapeOutput(picture, doubleSizeOf(*box), request.crop,
                                                  request.rotate, request.smoothScaling);
    }
    if (const auto& box = request.largePictureBox;
        box && request.largePicture &&
        (!request.largePictureMade || wantsResponsiveCopies(request))) {
        // Large pictures are never cropped; their copies are made from them.
        Bitmap large =
            shapeOutput(picture, *box, CropAlign::NoCrop, request.rotate, request.smoothScaling);
        outputs.responsiveCopies = responsiveCopiesOf(request, large);
        if (!request.largePictureMade) {
            outputs.largePicture = std::move(large);
        }
    } else if (ownSize) {
        outputs.responsiveCopies = responsiveCopiesOf(request, picture);
        if (!request.largePictureMade && !keptAsFile) {
            // Only the rotation applies, to the decoded picture itself, which is not needed
            // any more.
            outputs.largePicture =
                Rotate(std::move(picture.bitmap), quarterTurnsToDegrees(request.rotate));
        }
    }
    outputs.memory = std::move(picture.memory);
    return outputs;
}

RenderedOutputs renderPicture(const RenderRequest& request, const PictureFormatRegistry& formats) {
    RenderedBitmaps bitmaps = renderBitmaps(request, formats);
    const ColourSpace space = bitmaps.colourSpace;
    RenderedOutputs outputs;
    if (!request.thumbnailMade) {
        outputs.thumbnail =
            encoded(bitmaps.thumbnail, ImageFormat::Jpeg, false, request.path, space);
    }
    if (!request.doubleSizeThumbnailMade) {
        outputs.doubleSizeThumbnail =
            encoded(bitmaps.doubleSizeThumbnail, ImageFormat::Jpeg, false, request.path, space);
    }
    outputs.largePicture =
        bitmaps.largePictureFile
            ? std::move(bitmaps.largePictureFile)
            : encoded(bitmaps.largePicture, ImageFormat::Jpeg, true, request.path, space);
    const auto encodeExtra = [&](const ExtraOutput& output, const std::optional<Bitmap>& bitmap) {
        if (!isMade(request, output)) {
            // Copies are written in one pass with fitted tables: progressive scans would cost
            // more than the pass-through of the large picture saves.
            if (auto picture = encoded(bitmap, output.format, false, request.path, space)) {
                outputs.extras.emplace(output, std::move(*picture));
            }
        }
    };
    for (const ImageFormat format : request.modernFormats) {
        encodeExtra({ExtraOutput::Of::Thumbnail, 0, format}, bitmaps.thumbnail);
        encodeExtra({ExtraOutput::Of::DoubleSizeThumbnail, 0, format}, bitmaps.doubleSizeThumbnail);
    }
    for (auto& [width, copy] : bitmaps.responsiveCopies) {
        const std::optional<Bitmap> bitmap(std::move(copy));
        encodeExtra({ExtraOutput::Of::ResponsiveCopy, width, ImageFormat::Jpeg}, bitmap);
        for (const ImageFormat format : request.modernFormats) {
            encodeExtra({ExtraOutput::Of::ResponsiveCopy, width, format}, bitmap);
        }
    }
    outputs.metadata = std::move(bitmaps.metadata);
    outputs.colourNotice = std::move(bitmaps.colourNotice);
    return outputs;
}

} // namespace vellumar
