#include "build_all.h"

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

#include "html/copied_picture_check.h"
#include "model/output_policy.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

void recordInProject(Project& project, const BuildInput& input, const BuildReport& report) {
    const std::span<TImgEntry> entries = project.pictures().mutableEntries();
    const std::vector<BuiltSizes>& sizes = report.pictures.sizes;
    for (std::size_t i = 0; i < sizes.size() && i < entries.size(); ++i) {
        if (entries[i].file == input.entries[i].file) {
            recordBuiltSizes(entries.subspan(i, 1), {sizes[i]});
        }
    }
}

BuildInput buildInputOf(const Project& project, const std::string& programFolder,
                        const std::string& work) {
    const std::span<const TImgEntry> entries = project.pictures().entries();
    const std::string& path = project.path();
    return {project.settings(),
            {entries.begin(), entries.end()},
            programFolder,
            projectOwnFiles(entries, path),
            work + " of " + (path.empty() ? std::string("an unsaved project") : path)};
}

BuildAllResult BuildAll(Project& project, const std::string& programFolder,
                        const PictureFormatRegistry& formats, Frontend& frontend,
                        const BuildOptions& options) {
    const GallerySettings& settings = project.settings();
    const std::string folder = trimBlanks(settings.DestFolder);
    if (folder.empty()) {
        frontend.notice("Please fill in Destination Folder field in Settings tab!");
        return {};
    }
    BuildPlan plan;
    try {
        plan = galleryPlan(settings, project.pictures().entries().size(), programFolder, options);
        checkCopiedPictures(settings, formats);
    } catch (const ProjectError& refusal) {
        frontend.notice(refusal.what());
        return {};
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        if (!frontend.question("Destination folder " + folder + " " +
                               "does not exist. Create it anyway ?")) {
            frontend.notice("Destination folder " + folder + " does not exist. Terminated!");
            return {};
        }
        if (::mkdir(folder.c_str(), 0777) != 0) {
            frontend.notice("Cannot create folder " + folder + ": " + std::strerror(errno));
            return {};
        }
    }
    const BuildInput input = buildInputOf(project, programFolder, "the build");
    const BuildReport report = runBuild(plan, input, formats, frontend);
    recordInProject(project, input, report);
    const std::vector<PictureFailure>& skipped = report.pictures.skipped;
    if (!skipped.empty()) {
        frontend.notice(failureListMessage(
            "The build went on without " + (skipped.size() == 1
                                                ? std::string("this picture, which cannot be read:")
                                                : "these " + std::to_string(skipped.size()) +
                                                      " pictures, which cannot be read:"),
            skipped));
    }
    if (report.outcome == BuildOutcome::Failed) {
        frontend.notice(report.error);
    }
    return {report.outcome == BuildOutcome::Finished, skipped.size(),
            report.pictures.decodedPictures};
}

} // namespace vellumar
