#include "gallery_preview.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "html/index_layout.h"
#include "html/index_page.h"
#include "html/nav_links.h"
#include "html/picture_page.h"
#include "html/resource_copy.h"
#include "html/template_file.h"
#include "imaging/bmp_to_jpeg.h"
#include "imaging/picture_builds.h"
#include "model/output_folders.h"
#include "model/output_name_check.h"
#include "model/output_policy.h"
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

fs::path userCacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
        return cache;
    }
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "/tmp") / ".cache";
}

} // namespace

std::string previewFolder(const std::string& programFolder) {
    const fs::path beside = fs::path(programFolder) / "preview";
    if (isWritableFolder(beside)) {
        return withTrailingSeparator(beside.string());
    }
    return withTrailingSeparator((userCacheFolder() / "vellumar" / "preview").string());
}

std::optional<std::string> buildPreview(Project& project, const std::string& programFolder,
                                        Frontend& frontend) {
    if (project.pictures().isEmpty()) {
        frontend.notice("Please select pictures before preview.");
        return std::nullopt;
    }
    const GallerySettings& settings = project.settings();
    const std::span<TImgEntry> entries = project.pictures().mutableEntries();
    try {
        checkOutputNames(settings);
        const OutputFolders folders = previewFolders(previewFolder(programFolder));
        const OutputPolicy policy(
            OverwriteMode::Overwrite, frontend, projectOwnFiles(entries, project.path()),
            OwnedFiles(settings, folders, templateFilesOf(programFolder, settings.Style)));
        for (const std::string* folder :
             {&folders.root, &folders.thumbs, &folders.pictures, &folders.pages}) {
            policy.prepareFolder(*folder);
        }
        const IndexLayout layout = indexLayout(settings, entries.size());
        const int shown = static_cast<int>(
            std::min<long long>(layout.picturesPerPage, static_cast<long long>(entries.size())));

        const PictureBuild pictures{entries, settings, frontend};
        GenThumb(pictures, 1, static_cast<std::size_t>(shown), policy, folders.thumbs);
        GenLargePic(pictures, 1, static_cast<std::size_t>(shown), policy, folders.pictures);
        copyNavigationButtons(settings, folders.root, policy);

        const TemplateLines lines = loadTemplate(programFolder, settings.Style);
        const PageContext context{settings,      entries, lines, pageFolderLinks("picpage"),
                                  convertToJpeg, policy};
        GenIndexPage(context, {1, shown, 1, 1}, folders.root);
        ExtractImgFile(lines, programFolder, settings.Style, folders.root, policy);
        ExtractImgFile(lines, programFolder, settings.Style, folders.pages, policy);
        for (int picture = 1; picture <= shown; ++picture) {
            GenPicPage(context, picture, shown, folders.pages);
        }
        return folders.root + settings.IdxFileName;
    } catch (const ProjectError& failure) {
        frontend.notice(failure.what());
        return std::nullopt;
    }
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
