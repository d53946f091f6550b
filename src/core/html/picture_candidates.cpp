#include "picture_candidates.h"

#include "html/cell_values.h"
#include "model/gallery_file_names.h"

namespace vellumar {

namespace {

std::string sourceElement(ImageFormat format, const std::string& srcset,
                          const std::string& sizes = {}) {
    return "<source type=\"" + std::string(mimeTypeOf(format)) + "\" srcset=\"" + srcset + "\"" +
           sizes + ">";
}

// The large picture's copies in one format, then the large picture itself.
std::string copiesSrcset(int picture, const PublishedExtras& extras, int width,
                         const std::string& toRoot, ImageFormat format) {
    std::string srcset;
    for (const int copyWidth : extras.responsiveWidths) {
        srcset +=
            srcsetAddress(toRoot + inFormat(responsiveCopyAddress(picture, copyWidth), format)) +
            " " + std::to_string(copyWidth) + "w, ";
    }
    return srcset + srcsetAddress(toRoot + largePictureAddress(picture)) + " " +
           std::to_string(width) + "w";
}

} // namespace

const PublishedExtras& publishedExtrasOf(const PageContext& context, int picture) {
    static const PublishedExtras kNone;
    const auto index = static_cast<std::size_t>(picture) - 1;
    return picture >= 1 && index < context.extras.size() ? context.extras[index] : kNone;
}

std::string thumbnailSources(const GallerySettings& settings, int picture,
                             const PublishedExtras& extras) {
    std::string sources;
    for (const ImageFormat format : extras.thumbnailFormats) {
        std::string srcset = srcsetAddress(inFormat(thumbnailAddress(settings, picture), format));
        if (settings.HiDpiThumbs) {
            srcset +=
                " 1x, " +
                srcsetAddress(inFormat(doubleSizeThumbnailAddress(settings, picture), format)) +
                " 2x";
        }
        sources += sourceElement(format, srcset);
    }
    return sources;
}

std::string largePictureSrcset(int picture, const PublishedExtras& extras, int width,
                               const std::string& toRoot) {
    if (extras.responsiveWidths.empty()) {
        return {};
    }
    return copiesSrcset(picture, extras, width, toRoot, ImageFormat::Jpeg);
}

std::string largePictureSizes(const PublishedExtras& extras, int width, int height) {
    if (extras.responsiveWidths.empty() || height < 1) {
        return {};
    }
    // The styles keep the title, the navigation and the texts in view: about 10rem.
    return " sizes=\"min(" + std::to_string(width) + "px, 100vw, (100vh - 10rem) * " +
           std::to_string(width) + " / " + std::to_string(height) + ")\"";
}

std::string largePictureSources(int picture, const PublishedExtras& extras, int width, int height,
                                const std::string& toRoot) {
    std::string sources;
    if (extras.responsiveWidths.empty()) {
        return sources;
    }
    for (const ImageFormat format : extras.responsiveFormats) {
        sources += sourceElement(format, copiesSrcset(picture, extras, width, toRoot, format),
                                 largePictureSizes(extras, width, height));
    }
    return sources;
}

std::string pictureElement(std::string_view token, const std::string& sources) {
    if (sources.empty()) {
        return {};
    }
    return token.ends_with(" end") ? "</picture>" : "<picture>" + sources;
}

} // namespace vellumar
