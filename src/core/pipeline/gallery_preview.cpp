#include "gallery_preview.h"

#include <filesystem>

#include "html/copied_picture_check.h"
#include "pipeline/build_all.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace fs = std::filesystem;

std::optional<std::string> buildPreview(Project& project, const std::string& programFolder,
                                        const PictureFormatRegistry& formats, Frontend& frontend,
                                        const BuildOptions& options) {
    if (project.pictures().isEmpty()) {
        frontend.notice("Please select pictures before preview.");
        return std::nullopt;
    }
    const GallerySettings& settings = project.settings();
    BuildReport report;
    try {
        const BuildPlan plan =
            previewPlan(settings, project.pictures().entries().size(), programFolder, options);
        checkCopiedPictures(settings, formats);
        const BuildInput input = buildInputOf(project, programFolder, "the preview");
        report = runBuild(plan, input, formats, frontend);
        recordInProject(project, input, report);
        if (report.outcome == BuildOutcome::Finished) {
            return plan.folders.root + settings.IdxFileName;
        }
    } catch (const ProjectError& refusal) {
        report.error = refusal.what();
    }
    if (!report.error.empty()) {
        frontend.notice(report.error);
    }
    return std::nullopt;
}

std::optional<std::string> builtIndexPage(const GallerySettings& settings, Frontend& frontend) {
    if (trimBlanks(settings.DestFolder).empty()) {
        frontend.notice("Please fill in Destination Folder field in Settings tab.");
        return std::nullopt;
    }
    const std::string page = destinationFolder(settings) + settings.IdxFileName;
    std::error_code error;
    if (!fs::is_regular_file(page, error)) {
        frontend.notice("Thumbnail does not exist. Please press Build All button.");
        return std::nullopt;
    }
    return page;
}

} // namespace vellumar
