#include "build_plan.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "imaging/avif_writer.h"
#include "imaging/webp_writer.h"
#include "model/gallery_file_names.h"
#include "model/output_name_check.h"
#include "model/style_list.h"
#include "path_text.h"
#include "pipeline/cache_folder.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace fs = std::filesystem;

namespace {

bool isWritableFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    const fs::path probe = folder / ".vellumar-write-test";
    const bool writable = static_cast<bool>(std::ofstream(probe));
    fs::remove(probe, error);
    return writable;
}

// Every copy is written in the modern formats too, whose sides hold fewer pixels than a JPEG's.
void checkCopiesFitModernFormats(const std::vector<int>& widths,
                                 const std::vector<ImageFormat>& formats) {
    for (const ImageFormat format : formats) {
        const int longest = format == ImageFormat::Webp ? kMaxWebpSide : kMaxAvifSide;
        if (!widths.empty() && widths.back() > longest) {
            throw ProjectError("The smaller copies of large pictures cannot be " +
                               std::to_string(widths.back()) + " pixels wide: a " +
                               std::string(formatName(format)) + " side holds at most " +
                               std::to_string(longest) + " pixels.");
        }
    }
}

BuildPlan commonPlan(const GallerySettings& settings, std::size_t entryCount,
                     const std::string& programFolder, const BuildOptions& options) {
    checkOutputNames(settings);
    BuildPlan plan;
    plan.layout = indexLayout(settings, entryCount);
    plan.thumbnailBox = thumbnailBoxOf(settings);
    plan.largePictureBox = largePictureBoxOf(settings);
    plan.smoothScaling = settings.SmoothScaling;
    plan.autoRotate = settings.AutoRotate;
    plan.wideGamut = settings.WideGamut;
    plan.keepOriginalJpeg = settings.KeepOriginalJpeg;
    plan.responsiveWidths = settings.ResponsiveWidths;
    plan.modernFormats = modernFormatsOf(settings.ModernFormats);
    // Found out before anything is written, not at the first thumbnail.
    if (wantsAvif(plan.modernFormats) && !avifEncoderAvailable()) {
        throw ProjectError("AVIF pictures cannot be written on this system: its libheif has no "
                           "AV1 encoder. Choose WebP or none.");
    }
    checkCopiesFitModernFormats(plan.responsiveWidths, plan.modernFormats);
    plan.doubleSizeThumbnails = settings.HiDpiThumbs;
    plan.templateLines = loadTemplate(programFolder, settings.Style);
    plan.workerCount = options.workerCount;
    plan.memoryLimit = options.memoryLimit;
    plan.reuse = options.reuse;
    plan.keepGoing = options.keepGoing;
    plan.reuseFolder = programCacheFolder() + "reuse/";
    return plan;
}

} // namespace

BuildPlan galleryPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, const BuildOptions& options) {
    if (trimBlanks(settings.DestFolder).empty()) {
        throw ProjectError("Please enter destination folder in Settings first!");
    }
    BuildPlan plan = commonPlan(settings, entryCount, programFolder, options);
    plan.kind = BuildPlan::Kind::Gallery;
    plan.folders = outputFoldersOf(settings);
    plan.links = pageFolderLinks(settings.PageSub.name);
    plan.mode = settings.Overwrite;
    plan.pictureCount = entryCount;
    return plan;
}

std::string previewFolder(const std::string& programFolder) {
    const fs::path beside = fs::path(programFolder) / "preview";
    if (isWritableFolder(beside)) {
        return withTrailingSeparator(beside.string());
    }
    return programCacheFolder() + "preview/";
}

BuildPlan previewPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, const BuildOptions& options) {
    BuildPlan plan = commonPlan(settings, entryCount, programFolder, options);
    plan.kind = BuildPlan::Kind::Preview;
    plan.folders = previewFolders(previewFolder(programFolder));
    plan.links = pageFolderLinks(kPicturePageFolder);
    plan.mode = OverwriteMode::Overwrite;
    plan.pictureCount = static_cast<std::size_t>(
        std::min<long long>(plan.layout.picturesPerPage, static_cast<long long>(entryCount)));
    const int shown = static_cast<int>(plan.pictureCount);
    plan.layout = {static_cast<long long>(shown), 1, shown};
    return plan;
}

} // namespace vellumar
