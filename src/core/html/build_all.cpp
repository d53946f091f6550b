#include "build_all.h"

#include <filesystem>

#include "html/html_build.h"
#include "html/resource_copy.h"
#include "imaging/bmp_to_jpeg.h"
#include "imaging/picture_builds.h"
#include "model/output_folders.h"
#include "model/output_name_check.h"
#include "model/output_policy.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

bool BuildAll(Project& project, const std::string& programFolder, Frontend& frontend) {
    GallerySettings& settings = project.settings();
    if (!outputNamesAccepted(settings, frontend)) {
        return false;
    }
    const std::string folder = trimBlanks(settings.DestFolder);
    if (folder.empty()) {
        frontend.notice("Please fill in Destination Folder field in Settings tab!");
        return false;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        if (!frontend.question("Destination folder " + folder + " " +
                               "does not exist. Create it anyway ?")) {
            frontend.notice("Destination folder " + folder + " does not exist. Terminated!");
            return false;
        }
        // One level only; a folder that could not be made is reported by the builds.
        std::filesystem::create_directory(folder, error);
    }

    const std::span<TImgEntry> entries = project.pictures().mutableEntries();
    const OutputPolicy policy(settings.Overwrite, frontend,
                              projectOwnFiles(entries, project.path()),
                              OwnedFiles(settings, outputFoldersOf(settings),
                                         templateFilesOf(programFolder, settings.Style)));
    try {
        policy.checkFoldersMayBePrepared(outputFoldersOf(settings));
        const PictureBuild pictures{entries, settings, frontend};
        const bool thumbnailsBuilt = buildThumbnails(pictures, policy);
        const bool picturesBuilt = buildLargePictures(pictures, policy);
        buildHtml({settings, entries, programFolder, convertToJpeg}, policy, frontend);
        return thumbnailsBuilt && picturesBuilt;
    } catch (const ProjectError& failure) {
        frontend.notice(failure.what());
        return false;
    }
}

} // namespace vellumar
