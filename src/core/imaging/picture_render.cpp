#include "picture_render.h"

#include "imaging/gen_pic.h"
#include "imaging/jpeg_writer.h"
#include "imaging/picture_loader.h"
#include "model/integer_text.h"
#include "project_error.h"

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

RenderedPicture finish(const Bitmap& picture) {
    return {picture.width(), picture.height(), encodeJpeg(picture)};
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

int quarterTurnsToDegrees(int rotate) {
    return rotate >= 0 && rotate <= 3 ? rotate * 90 : 0;
}

RenderedOutputs renderPicture(const RenderRequest& request) {
    const Bitmap source = readPictureFile(request.path);
    const int angle = quarterTurnsToDegrees(request.rotate);
    RenderedOutputs outputs;
    if (const auto& box = request.thumbnail) {
        outputs.thumbnail = finish(GenPic(source, box->width, box->height, box->borderWidth,
                                          request.crop, angle, box->borderColor, box->keepRatio));
    }
    if (request.largePicture) {
        if (const auto& box = request.largePictureBox) {
            // Large pictures are never cropped.
            outputs.largePicture = finish(GenPic(source, box->width, box->height, box->borderWidth,
                                                 0, angle, box->borderColor, box->keepRatio));
        } else {
            // Own size: only the rotation applies.
            outputs.largePicture =
                finish(GenPic(source, source.width(), source.height(), 0, 0, angle, kWhite, true));
        }
    }
    return outputs;
}

} // namespace vellumar
