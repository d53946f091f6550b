#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "colour/colour_description.h"
#include "imaging/bitmap.h"
#include "imaging/crop_align.h"
#include "imaging/memory_budget.h"
#include "imaging/picture_box.h"
#include "model/gallery_settings.h"
#include "readers/format_registry.h"
#include "readers/picture_metadata.h"

namespace vellumar {

// The thumbnail box of the settings; sizes below 1 fail with a ProjectError.
PictureBox thumbnailBoxOf(const GallerySettings& settings);
// The large-picture box, or nothing when pictures keep their own size.
std::optional<PictureBox> largePictureBoxOf(const GallerySettings& settings);

// An output beside a picture's thumbnail, double-size thumbnail and large picture: a
// thumbnail in a modern format, or a smaller copy of the large picture for narrower screens,
// in JPEG or a modern format.
struct ExtraOutput {
    enum class Of { Thumbnail, DoubleSizeThumbnail, ResponsiveCopy };
    Of of = Of::Thumbnail;
    int width = 0; // of a responsive copy, border included
    ImageFormat format = ImageFormat::Jpeg;
    auto operator<=>(const ExtraOutput&) const = default;
};

// What a build asks of one picture file.
struct RenderRequest {
    std::string path; // already trimmed
    CropAlign crop = CropAlign::NoCrop;
    int rotate = 0;                      // quarter turns
    std::optional<PictureBox> thumbnail; // nothing: no thumbnail wanted
    // With a thumbnail: its version at doubleSizeOf its box as well.
    bool doubleSizeThumbnail = false;
    bool largePicture = false;
    std::optional<PictureBox> largePictureBox; // with largePicture: nothing keeps the own size
    // Aspect-keeping reductions average the pixels they cover (and a JPEG is reduced while
    // it is decoded where that loses nothing the outputs show); off, they pick single pixels.
    bool smoothScaling = true;
    // The picture is first turned as the camera was held, then by rotate.
    bool autoRotate = false;
    // Pictures whose colours reach beyond sRGB are made in Display P3, and say so.
    bool wideGamut = false;
    // Copies of the large picture, as its shape, at each of these widths that is narrower
    // than it (ascending).
    std::vector<int> responsiveWidths;
    // The formats beside JPEG that every thumbnail, double-size thumbnail and responsive copy
    // is also made in.
    std::vector<ImageFormat> modernFormats;
    // A large picture of the picture's own size is the source JPEG's own data, without its
    // metadata, wherever that shows the same picture.
    bool keepOriginalJpeg = false;
    // Outputs an earlier build already made: not made again, but still counted when the
    // decode's scale is chosen, so each output comes out the same whether the other is made
    // with it or not.
    bool thumbnailMade = false;
    bool doubleSizeThumbnailMade = false;
    bool largePictureMade = false;
    std::set<ExtraOutput> extrasMade;
    // What the decode may take, shared by the pictures rendered at the same time.
    std::shared_ptr<MemoryBudget> memory = std::make_shared<MemoryBudget>();
};

// One finished output picture: its size (border included, after rotation) and its file.
struct RenderedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes; // the file, in the format it was asked in
};

struct RenderedOutputs {
    std::optional<RenderedPicture> thumbnail;
    std::optional<RenderedPicture> doubleSizeThumbnail;
    std::optional<RenderedPicture> largePicture;
    std::map<ExtraOutput, RenderedPicture> extras;
    PictureMetadata metadata; // read from the same bytes as the pixels
    // What the user should hear about the picture's colours (a damaged profile), or "".
    std::string colourNotice;
};

// The extra outputs the request asks for: every thumbnail twin, and, for a large picture of
// the given width, its responsive copies narrower than it with their twins.
std::vector<ExtraOutput> extraOutputsOf(const RenderRequest& request,
                                        std::optional<int> largePictureWidth);

// Whether anything the request asks for is still to be made.
bool asksForOutputs(const RenderRequest& request);

// Marks the large picture and everything made from it as made, so that a render makes only
// the thumbnails.
void markLargePictureMade(RenderRequest& request);

// Decodes the picture once and makes every output the request asks for; with nothing asked
// it only reads the file's metadata. Depends on nothing but its arguments (whose memory
// budget may be shared), so several pictures may be rendered at once on different threads.
// The decoded picture is the only full-size one: a large picture of the picture's own size
// is made from it where it lies. Fails with the reader's, the budget's or the encoder's
// ProjectError.
RenderedOutputs renderPicture(const RenderRequest& request, const PictureFormatRegistry& formats);

// The outputs of renderPicture as bitmaps, before they are encoded.
struct RenderedBitmaps {
    // Taken from the request's budget for as long as the bitmaps live (the large picture may
    // be the decoded picture itself); first, so that it is given back after them.
    MemoryBudget::Reservation memory;
    std::optional<Bitmap> thumbnail;
    std::optional<Bitmap> doubleSizeThumbnail;
    std::optional<Bitmap> largePicture;
    // The large picture as the source's own JPEG data, instead of largePicture.
    std::optional<RenderedPicture> largePictureFile;
    std::map<int, Bitmap> responsiveCopies; // by width
    PictureMetadata metadata;
    ColourSpace colourSpace = ColourSpace::Srgb; // of every output
    std::string colourNotice;
};
RenderedBitmaps renderBitmaps(const RenderRequest& request, const PictureFormatRegistry& formats);

} // namespace vellumar
