#include "picture_render.h"

#include <utility>

#include "colour/colour_conversion.h"
#include "imaging/averaged_stretch.h"
#include "imaging/camera_orientation.h"
#include "imaging/gen_pic.h"
#include "imaging/jpeg_writer.h"
#include "imaging/rotate.h"
#include "imaging/shrink_on_load.h"
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
    return box;
}

// The picture as decoded for a request, its own size, from which every output's size is
// computed, how much the decode reduced it, and the memory it holds while it lives.
struct DecodedPicture {
    MemoryBudget::Reservation memory; // first, so it is given back after the pixels
    Bitmap bitmap;
    PictureSize fullSize;
    int reduction = 1;
};

// The sizes the requested outputs are averaged down to, or nothing when one of them is made
// from the full picture.
std::optional<std::vector<PictureSize>> averagedSizes(const RenderRequest& request,
                                                      PictureSize fullSize) {
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
    if (request.largePicture) {
        const auto size = request.largePictureBox
                              ? averagedSize(*request.largePictureBox, CropAlign::NoCrop, fullSize)
                              : std::nullopt;
        if (!size) {
            return std::nullopt;
        }
        sizes.push_back(*size);
    }
    return sizes;
}

bool asksForOutputs(const RenderRequest& request) {
    return (request.thumbnail && !request.thumbnailMade) ||
           (request.thumbnail && request.doubleSizeThumbnail && !request.doubleSizeThumbnailMade) ||
           (request.largePicture && !request.largePictureMade);
}

// Whether the own-size large picture is turned by a quarter, which holds it twice.
bool largePictureCopies(const RenderRequest& request) {
    return request.largePicture && !request.largePictureMade && !request.largePictureBox &&
           rotationCopies(quarterTurnsToDegrees(request.rotate));
}

// One decode serves every output: a JPEG whose outputs are all averaged down is decoded as
// small as the largest of them allows. Turned as the camera was held, the picture is what
// every later step takes for the picture itself. Its memory is taken from the budget
// first, twice over when a quarter turn will hold it twice.
DecodedPicture decodeFor(const RenderRequest& request, const PictureFile& file, int orientation,
                         ColourSpace space) {
    int reduction = 1;
    PictureSize fullSize;
    if (request.smoothScaling && file.decodesReduced()) {
        fullSize = sizeAsCameraHeld(file.probe(), orientation);
        const auto sizes = averagedSizes(request, fullSize);
        reduction = sizes ? decodeReduction(fullSize, *sizes) : 1;
    }
    const int copies = cameraTurnCopies(orientation) || largePictureCopies(request) ? 2 : 1;
    MemoryBudget::Reservation memory = file.reserveDecode(*request.memory, reduction, copies);
    Bitmap bitmap = file.decode(reduction, space);
    // Every output reads 24-bit rows; a palette picture becomes one where it lies.
    bitmap.convertToRgb24();
    bitmap = turnAsCameraHeld(std::move(bitmap), orientation);
    if (reduction == 1) {
        fullSize = {bitmap.width(), bitmap.height()};
    }
    return {std::move(memory), std::move(bitmap), fullSize, reduction};
}

// GenPic, except that with smooth scaling an aspect-keeping reduction averages: from the
// decoded picture, however reduced, down to the size the full picture gives.
Bitmap shapeOutput(const DecodedPicture& picture, const PictureBox& box, CropAlign crop,
                   int quarterTurns, bool smoothScaling) {
    if (smoothScaling) {
        if (const auto size = averagedSize(box, crop, picture.fullSize)) {
            return turnAndFrame(stretchAveraged(picture.bitmap, picture.fullSize, picture.reduction,
                                                size->width, size->height),
                                quarterTurns, box);
        }
    }
    return GenPic(picture.bitmap, box, crop, quarterTurns);
}

std::optional<RenderedPicture> encoded(const std::optional<Bitmap>& picture, ColourSpace space) {
    if (!picture) {
        return std::nullopt;
    }
    return RenderedPicture{picture->width(), picture->height(),
                           encodeJpeg(*picture, embeddedProfileOf(space))};
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
    return boxOf({both || !s.ThumbHeight.on, s.ThumbWidth.value}, {both, s.ThumbHeight.value},
                 "thumbnail", s.ThumbBorder, s.ThumbBorderWidth, s.ThumbBorderColor);
}

std::optional<PictureBox> largePictureBoxOf(const GallerySettings& s) {
    if (!s.ResizePic) {
        return std::nullopt;
    }
    const bool both = s.PicWidth.on && s.PicHeight.on;
    return boxOf({both || !s.PicHeight.on, s.PicWidth.value}, {both, s.PicHeight.value},
                 "large picture", s.PicBorder, s.PicBorderWidth, s.PicBorderColor);
}

RenderedBitmaps renderBitmaps(const RenderRequest& request, const PictureFormatRegistry& formats) {
    const PictureFile file(request.path, formats);
    RenderedBitmaps outputs;
    outputs.metadata = file.metadata();
    if (!asksForOutputs(request)) {
        return outputs;
    }
    const int orientation = request.autoRotate ? outputs.metadata.orientation : 1;
    outputs.colourNotice = colourNoticeFor(file, request.path);
    outputs.colourSpace = outputSpaceFor(file.colour(), request.wideGamut);
    DecodedPicture picture = decodeFor(request, file, orientation, outputs.colourSpace);
    if (const auto& box = request.thumbnail; box && !request.thumbnailMade) {
        outputs.thumbnail =
            shapeOutput(picture, *box, request.crop, request.rotate, request.smoothScaling);
    }
    if (const auto& box = request.thumbnail;
        box && request.doubleSizeThumbnail && !request.doubleSizeThumbnailMade) {
        outputs.doubleSizeThumbnail = shapeOutput(picture, doubleSizeOf(*box), request.crop,
                                                  request.rotate, request.smoothScaling);
    }
    if (request.largePicture && !request.largePictureMade) {
        if (const auto& box = request.largePictureBox) {
            // Large pictures are never cropped.
            outputs.largePicture = shapeOutput(picture, *box, CropAlign::NoCrop, request.rotate,
                                               request.smoothScaling);
        } else {
            // Own size: only the rotation applies, to the decoded picture itself, which is
            // not needed any more.
            outputs.largePicture =
                Rotate(std::move(picture.bitmap), quarterTurnsToDegrees(request.rotate));
        }
    }
    outputs.memory = std::move(picture.memory);
    return outputs;
}

RenderedOutputs renderPicture(const RenderRequest& request, const PictureFormatRegistry& formats) {
    const RenderedBitmaps bitmaps = renderBitmaps(request, formats);
    const ColourSpace space = bitmaps.colourSpace;
    return {encoded(bitmaps.thumbnail, space), encoded(bitmaps.doubleSizeThumbnail, space),
            encoded(bitmaps.largePicture, space), bitmaps.metadata, bitmaps.colourNotice};
}

} // namespace vellumar
