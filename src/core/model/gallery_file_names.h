#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/gallery_settings.h"
#include "model/nav_link.h"

namespace vellumar {

// The names of every file and folder a gallery build writes. Pages link to these names, the
// builders write them, and a build that empties its folders recognises its own files by them,
// so they are made and recognised here and nowhere else. Pictures are numbered from 1.

inline constexpr std::string_view kThumbnailFolder = "thumb";
inline constexpr std::string_view kLargePictureFolder = "pic";
// The picture-page folder of the preview, and the default of PageSub.
inline constexpr std::string_view kPicturePageFolder = "picpage";

inline constexpr std::string_view kPageBackgroundJpeg = "PageBG.jpg";
inline constexpr std::string_view kPageBackgroundGif = "PageBG.gif";
inline constexpr std::string_view kTableBackground = "TableBG.jpg";
// Earlier builds handed their pictures to the encoder through this file.
inline constexpr std::string_view kTemporaryBitmap = "tmp.bmp";
// The hidden file a build holds in the folder it writes into while it runs: never one of the
// gallery's files, so no output may take its name.
inline constexpr std::string_view kBuildLockFileName = ".vellumar-build.lock";

// ThumbPrefix + n + ThumbSuffix + ".jpg"
std::string thumbnailFileName(const GallerySettings& settings, std::size_t picture);
// The thumbnail at twice the size for dense screens: "@2x" before ".jpg".
std::string doubleSizeThumbnailFileName(const GallerySettings& settings, std::size_t picture);
// "pic<n>.jpg"
std::string largePictureFileName(std::size_t picture);
// "pic<n>-<width>.jpg": a smaller copy of the large picture for narrower screens.
std::string responsiveCopyFileName(std::size_t picture, int width);
// A picture file's name in another format: ".webp" or ".avif" for its ".jpg".
std::string inFormat(std::string_view jpegFileName, ImageFormat format);
// The MIME type a <source> element names: "image/webp".
std::string_view mimeTypeOf(ImageFormat format);
// The addresses of a picture's files from the gallery's root folder, as pages link them:
// "thumb/<thumbnail file name>", "pic/pic<n>.jpg".
std::string thumbnailAddress(const GallerySettings& settings, std::size_t picture);
std::string doubleSizeThumbnailAddress(const GallerySettings& settings, std::size_t picture);
std::string largePictureAddress(std::size_t picture);
std::string responsiveCopyAddress(std::size_t picture, int width);
// Index page 1 is named by IdxFileName, page n >= 2 "index<n>.htm".
std::string indexPageFileName(const GallerySettings& settings, int page);
// "page<n>.htm"
std::string picturePageFileName(int picture);

// The file name of a link's button image, as it is copied beside the index pages.
std::string buttonFileName(const TNavLink& link);
// The button images a build copies, in the order it copies them: every link that is on,
// index-page Home, First, Previous, Next, Last, then picture-page Home, First, Previous,
// Next, Last, Index.
std::vector<const TNavLink*> copiedButtons(const GallerySettings& settings);

// Whether a name is one of the above, in any format it is written in, for some picture or page
// number that a picture list can hold (decimal, without leading zeros).
bool isThumbnailFileName(const GallerySettings& settings, std::string_view name);
// Large pictures and their smaller copies, in every format.
bool isLargePictureFileName(std::string_view name);
bool isIndexPageFileName(const GallerySettings& settings, std::string_view name);
bool isPicturePageFileName(std::string_view name);

} // namespace vellumar
