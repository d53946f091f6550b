#include "build_driver.h"

#include "html/resource_copy.h"
#include "model/output_policy.h"
#include "pipeline/build_lock.h"
#include "pipeline/page_steps.h"
#include "pipeline/picture_steps.h"
#include "project_error.h"
#include "readers/bmp_to_jpeg.h"

namespace vellumar {

namespace {

bool runSteps(const BuildPlan& plan, const BuildInput& input, const PictureFormatRegistry& formats,
              const OutputPolicy& policy, Frontend& frontend, PictureResults& pictures) {
    const OutputFolders& folders = plan.folders;
    policy.checkFoldersMayBePrepared(folders);
    const BuildLock lock(folders.root, input.description);
    if (plan.kind == BuildPlan::Kind::Preview) {
        // The preview's folders are made up front; what an earlier preview made and this one
        // does not goes once this one is written.
        for (const std::string* folder :
             {&folders.root, &folders.thumbs, &folders.pictures, &folders.pages}) {
            policy.prepareFolder(*folder);
        }
    }
    if (!buildPictures(plan, input.settings, input.entries, formats, policy, frontend, pictures)) {
        return false;
    }
    std::vector<TImgEntry> built = input.entries;
    recordBuiltSizes(built, pictures.sizes);
    const auto toJpeg = [&formats](const std::string& pictureFile, const std::string& jpegFile) {
        convertToJpeg(pictureFile, jpegFile, formats);
    };
    const PageInput pages{input.settings,
                          built,
                          input.programFolder,
                          policy,
                          toJpeg,
                          pictures.metadata,
                          pictures.thumbnailTones,
                          pictures.published};
    if (plan.kind == BuildPlan::Kind::Preview) {
        buildPreviewPages(plan, pages);
    } else if (!buildGalleryPages(plan, pages, frontend)) {
        return false;
    }
    // Only now that the whole new gallery is in place does what it no longer has go.
    policy.removeLeftovers(folders);
    return true;
}

} // namespace

OutputPolicy outputPolicyOf(const BuildPlan& plan, const GallerySettings& settings,
                            const std::string& programFolder,
                            const std::vector<std::string>& protectedPaths, Frontend& frontend) {
    return OutputPolicy(
        plan.mode, frontend, protectedPaths,
        OwnedFiles(settings, plan.folders, templateFilesOf(programFolder, settings.Style)));
}

BuildReport runBuild(const BuildPlan& plan, const BuildInput& input,
                     const PictureFormatRegistry& formats, Frontend& frontend) {
    BuildReport report;
    const OutputPolicy policy =
        outputPolicyOf(plan, input.settings, input.programFolder, input.protectedPaths, frontend);
    try {
        if (!runSteps(plan, input, formats, policy, frontend, report.pictures)) {
            report.outcome = BuildOutcome::Stopped;
            frontend.status("Build stopped");
        }
    } catch (const ProjectError& failure) {
        report.outcome = BuildOutcome::Failed;
        report.error = failure.what();
    }
    return report;
}

void recordBuiltSizes(std::span<TImgEntry> entries, const std::vector<BuiltSizes>& sizes) {
    for (std::size_t i = 0; i < sizes.size() && i < entries.size(); ++i) {
        if (const auto& thumbnail = sizes[i].thumbnail) {
            entries[i].builtThumbWidth = thumbnail->width;
            entries[i].builtThumbHeight = thumbnail->height;
        }
        if (const auto& largePicture = sizes[i].largePicture) {
            entries[i].builtPicWidth = largePicture->width;
            entries[i].builtPicHeight = largePicture->height;
        }
    }
}

} // namespace vellumar
