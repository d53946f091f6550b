#include "html_build.h"

#include "file_io.h"
#include "html/index_layout.h"
#include "html/index_page.h"
#include "html/nav_links.h"
#include "html/picture_page.h"
#include "html/resource_copy.h"
#include "html/template_file.h"
#include "model/output_folders.h"
#include "progress_percent.h"
#include "project_error.h"
#include "text_util.h"

namespace vellumar {

namespace {

// Picture pages kept in the folder of the index pages, thumbnails or large pictures must not
// empty that folder a second time: it holds what the build has just made.
bool sharesAFolder(const OutputFolders& folders) {
    return sameFile(folders.pages, folders.root) || sameFile(folders.pages, folders.thumbs) ||
           sameFile(folders.pages, folders.pictures);
}

} // namespace

void buildHtml(const HtmlBuild& build, const OutputPolicy& policy, Frontend& frontend) {
    const GallerySettings& settings = build.settings;
    if (trimBlanks(settings.DestFolder).empty()) {
        throw ProjectError("Please enter destination folder in Settings first!");
    }
    const IndexLayout layout = indexLayout(settings, build.entries.size());
    const OutputFolders folders = outputFoldersOf(settings);
    const PageFolderLinks links = pageFolderLinks(settings.PageSub.name);
    policy.checkFolderMayBePrepared(folders.root);
    policy.checkFolderMayBePrepared(folders.pages);

    const TemplateLines lines = loadTemplate(build.programFolder, settings.Style);
    const PageContext context{settings, build.entries, lines, links, build.toJpeg, policy};

    policy.prepareFolder(folders.root);
    for (int page = 1; page <= layout.pageCount; ++page) {
        frontend.processEvents();
        frontend.status("Generating thumbnail HTML file index" + std::to_string(page) + ".htm");
        GenIndexPage(context, layout.span(page), folders.root);
        frontend.processEvents();
        frontend.progress(progressPercent(page, layout.pageCount));
    }
    ExtractImgFile(lines, build.programFolder, settings.Style, folders.root, policy);
    copyNavigationButtons(settings, folders.root, policy);

    if (!sharesAFolder(folders)) {
        policy.prepareFolder(folders.pages);
    }
    ExtractImgFile(lines, build.programFolder, settings.Style, folders.pages, policy);
    const int pictureCount = layout.pictureCount;
    for (int picture = 1; picture <= pictureCount; ++picture) {
        frontend.processEvents();
        frontend.status("Generating picture page file page" + std::to_string(picture) + ".htm");
        GenPicPage(context, picture, pictureCount, folders.pages);
        frontend.processEvents();
        frontend.progress(progressPercent(picture, pictureCount));
    }
    frontend.status("Finished");
    frontend.progress(0);
}

} // namespace vellumar
