#pragma once

#include "model/gallery_settings.h"
#include "readers/format_registry.h"

namespace vellumar {

// A project file names the button images and background pictures a build puts into the
// gallery, and may name any file of the computer. Only pictures may go where the gallery is
// published, so every one that a build would copy or convert is read first, by what its
// bytes hold, whatever its name says:
// - a button image (copied as it is, under its own name) must be a GIF, PNG, JPEG or WebP
//   picture that decodes, or an SVG picture (well-formed XML whose root is an svg element of
//   the SVG namespace);
// - a page background named ".gif" or ".jpg" (copied as "PageBG.gif" or "PageBG.jpg") must
//   be a GIF, PNG, JPEG or WebP picture that decodes;
// - a page background named ".bmp" and the table background (converted to JPEG) must be a
//   picture of any readable format that decodes, small enough for a JPEG.
// Anything else fails with "Cannot use <file> as a button image: it is not a picture" (or
// "... as a background picture: ..."), a picture of another format with "...: it is not a
// picture browsers show: use a GIF, PNG, JPEG, WebP or SVG picture", and a picture that
// cannot be decoded with the reader's reason. A button image that cannot be opened fails with
// "Cannot open file <file>: <reason>"; a background whose file is missing is left out, as its page
// has none. A button image whose name is not UTF-8 text is refused too, since pages link to it by
// that name. Builds call this before they write anything.
void checkCopiedPictures(const GallerySettings& settings, const PictureFormatRegistry& formats);

} // namespace vellumar
