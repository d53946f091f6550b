#include "build_plan.h"

#include <algorithm>

#include "model/style_list.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

BuildPlan commonPlan(const GallerySettings& settings, std::size_t entryCount,
                     const std::string& programFolder, int workerCount) {
    BuildPlan plan;
    plan.layout = indexLayout(settings, entryCount);
    plan.thumbnailBox = thumbnailBoxOf(settings);
    plan.largePictureBox = largePictureBoxOf(settings);
    plan.smoothScaling = settings.SmoothScaling;
    plan.templateLines = loadTemplate(programFolder, settings.Style);
    plan.workerCount = workerCount;
    return plan;
}

} // namespace

BuildPlan galleryPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, int workerCount) {
    if (trimBlanks(settings.DestFolder).empty()) {
        throw ProjectError("Please enter destination folder in Settings first!");
    }
    BuildPlan plan = commonPlan(settings, entryCount, programFolder, workerCount);
    plan.kind = BuildPlan::Kind::Gallery;
    plan.folders = outputFoldersOf(settings);
    plan.links = pageFolderLinks(settings.PageSub.name);
    plan.mode = settings.Overwrite;
    plan.pictureCount = entryCount;
    return plan;
}

BuildPlan previewPlan(const GallerySettings& settings, std::size_t entryCount,
                      const std::string& programFolder, const std::string& previewRoot,
                      int workerCount) {
    BuildPlan plan = commonPlan(settings, entryCount, programFolder, workerCount);
    plan.kind = BuildPlan::Kind::Preview;
    plan.folders = previewFolders(previewRoot);
    plan.links = pageFolderLinks("picpage");
    plan.mode = OverwriteMode::Overwrite;
    plan.pictureCount = static_cast<std::size_t>(
        std::min<long long>(plan.layout.picturesPerPage, static_cast<long long>(entryCount)));
    const int shown = static_cast<int>(plan.pictureCount);
    plan.layout = {static_cast<long long>(shown), 1, shown};
    return plan;
}

} // namespace vellumar
