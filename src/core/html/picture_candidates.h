#pragma once

#include <string>
#include <string_view>

#include "html/page_context.h"

namespace vellumar {

// The markup that lets a browser choose among a picture's files: its formats through
// <source> elements of a <picture>, its widths through srcset and sizes. Every address is
// relative to the gallery's root and given the prefix toRoot.

// What picture n has beside its thumbnails and large picture; nothing for pictures the build
// did not reach.
const PublishedExtras& publishedExtrasOf(const PageContext& context, int picture);

// One <source> for each format picture n's thumbnails are in beside JPEG, with the
// double-size thumbnail as the 2x candidate where there is one; "" when there are none.
std::string thumbnailSources(const GallerySettings& settings, int picture,
                             const PublishedExtras& extras);

// "pic/pic<n>-640.jpg 640w, …, pic/pic<n>.jpg <width>w": the large picture's smaller copies
// and, last, the large picture itself; "" when it has no copies.
std::string largePictureSrcset(int picture, const PublishedExtras& extras, int width,
                               const std::string& toRoot);

// ' sizes="…"': how wide the bundled styles show a large picture of that size on a screen,
// never wider than the picture, the window, or what the window's height leaves it; "" when it
// has no copies.
std::string largePictureSizes(const PublishedExtras& extras, int width, int height);

// One <source> for each format the large picture's copies are in beside JPEG, with the large
// picture itself as the widest candidate; "" when there are none.
std::string largePictureSources(int picture, const PublishedExtras& extras, int width, int height,
                                const std::string& toRoot);

// What "thumb picture" (then the <picture> tag and the sources) and "thumb picture end" (then
// its end tag) give around an <img>: nothing when there are no sources, so that a page
// without other formats is what it always was.
std::string pictureElement(std::string_view token, const std::string& sources);

} // namespace vellumar
