#pragma once

#include <string>
#include <vector>

#include "color.h"
#include "model/enums.h"
#include "model/nav_link.h"

namespace vellumar {

// A flag with a value that keeps its value while the flag is off.
template <typename T>
struct Switched {
    bool on = false;
    T value{};
    bool operator==(const Switched&) const = default;
};

// Where one kind of output file goes: a sub-folder of the given name, or the destination
// folder itself. The name is kept while the destination folder is chosen.
struct FolderChoice {
    bool useDestFolder = false;
    std::string name;
    bool operator==(const FolderChoice&) const = default;
};

enum class ThumbFit { Stretch, Crop };

// Every gallery-wide setting of a project, in project-file order. Integer settings hold the
// text the user typed; the builders parse it when they need the number.
struct GallerySettings {
    std::string DestFolder;
    OverwriteMode Overwrite = OverwriteMode::Ask;
    // Kept so that project files carry them over as written and the folders page shows them;
    // the builds do not follow them: thumbnails always go to "thumb" and large pictures to
    // "pic" (gallery_file_names.h), the fixed folders every page links its pictures from.
    FolderChoice ThumbSub{false, "thumb"};
    FolderChoice PicSub{false, "pic"};
    FolderChoice PageSub{false, "picpage"};
    std::string Style;
    std::string TopOffset = "0";
    std::string LeftOffset = "0";
    Switched<std::string> ThumbWidth{true, "100"};
    Switched<std::string> ThumbHeight{false, "100"};
    ThumbFit ThumbStretch = ThumbFit::Stretch;
    std::string ThumbPrefix = "tn_";
    std::string ThumbSuffix;
    bool ThumbBorder = false;
    std::string ThumbBorderWidth = "1";
    Color ThumbBorderColor = kBlack;
    bool ResizePic = false;
    Switched<std::string> PicWidth{true, "600"};
    Switched<std::string> PicHeight{true, "400"};
    bool PicBorder = false;
    std::string PicBorderWidth = "1";
    Color PicBorderColor = kBlack;
    std::string IdxFileName = "index.htm";
    NavPosition IdxNavLink = NavPosition::Top;
    NavLinkSet IdxNav;
    std::string IdxPageBGPic;
    Switched<Color> IdxPageBGColor{false, kWhite};
    std::string ThumbTableCol = "4";
    std::string ThumbTableRow = "3";
    std::string ThumbTableCellPad = "5";
    std::string ThumbTableCellSpace = "5";
    std::string ThumbTableBorderWidth = "0";
    Color ThumbTableBorderColor = kBlack;
    std::string ThumbTableBGPic;
    Switched<Color> ThumbTableBGColor{false, kWhite};
    ThumbLinkTarget ThumbLink = ThumbLinkTarget::PicturePage;
    NavPosition PageNav = NavPosition::Top;
    NavLinkSet PageNavLinks;
    std::string PageBGPic;
    Switched<Color> PageBGColor{false, kWhite};
    std::string PageTitle = "My Gallery";
    bool ThumbShowTitle = true;
    bool ThumbShowSize = true;
    // ThumbInfo: while on, the ALT text of a thumbnail is the picture's info instead of
    // ThumbALT.
    bool ThumbInfoFromPicture = false;
    std::string ThumbALT = "Click for large picture";
    bool PicPageShowTitle = true;
    bool PicPageShowIndex = true;
    // Never saved: they last for the session only.
    bool ThumbProtect = true;
    bool ImageProtect = true;
    // Saved after PicPageShowIndex: aspect-keeping reductions average the pixels they
    // cover instead of picking single ones.
    bool SmoothScaling = true;
    // Saved after SmoothScaling: pictures are first turned as the camera was held (their
    // EXIF orientation), then by their own rotation. On for new projects; a file without it
    // was made for unturned pictures and reads as off.
    bool AutoRotate = true;
    // Saved after AutoRotate: every thumbnail also gets a version at twice its box for
    // screens with more than one device pixel per CSS pixel.
    bool HiDpiThumbs = true;
    // Saved after HiDpiThumbs: a large picture resized to a box of both sides fits inside it
    // keeping its proportions instead of being stretched to it. On for new projects; a file
    // without it was made when pictures were stretched and reads as off.
    bool PicKeepRatio = true;
    // Saved after PicKeepRatio: pictures whose colours reach beyond sRGB are made in Display
    // P3 and carry its profile, for wide-gamut screens. Off for new projects and for files
    // made before it existed.
    bool WideGamut = false;
    // Saved after WideGamut: a large picture that is the source JPEG at its own size, unturned
    // or turned losslessly, is the source's own JPEG data without its metadata instead of a
    // new encode. On for new projects; a file without it re-encoded every picture and reads as
    // off.
    bool KeepOriginalJpeg = true;
    // Saved after KeepOriginalJpeg: the widths, ascending and each once, of the smaller copies
    // of each large picture that picture pages offer narrower screens. A file without it made
    // none.
    std::vector<int> ResponsiveWidths = {640, 1280, 1920};
    // Saved after ResponsiveWidths: the formats whose files are written beside the JPEG of
    // every thumbnail and smaller copy, for browsers that show them. None for new projects:
    // at the likeness of the JPEGs, WebP made a build of the benchmark photos nearly five
    // times as long and AVIF nearly three times. A file without it wrote JPEGs only.
    ModernFormatChoice ModernFormats = ModernFormatChoice::None;

    bool operator==(const GallerySettings&) const = default;
};

} // namespace vellumar
