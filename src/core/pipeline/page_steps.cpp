#include "page_steps.h"

#include "html/index_page.h"
#include "html/nav_links.h"
#include "html/picture_page.h"
#include "html/resource_copy.h"
#include "progress_percent.h"

namespace vellumar {

namespace {

PageContext contextOf(const BuildPlan& plan, const PageInput& input) {
    return {input.settings, input.entries,  plan.templateLines,   plan.links,  input.toJpeg,
            input.policy,   input.metadata, input.thumbnailTones, input.extras};
}

} // namespace

bool buildGalleryPages(const BuildPlan& plan, const PageInput& input, Frontend& frontend) {
    const PageContext context = contextOf(plan, input);
    const OutputFolders& folders = plan.folders;
    const IndexLayout& layout = plan.layout;

    input.policy.prepareFolder(folders.root);
    for (int page = 1; page <= layout.pageCount; ++page) {
        if (frontend.stopRequested()) {
            return false;
        }
        frontend.processEvents();
        frontend.status("Generating thumbnail HTML file index" + std::to_string(page) + ".htm");
        GenIndexPage(context, layout.span(page), folders.root);
        frontend.processEvents();
        frontend.progress(progressPercent(page, layout.pageCount));
    }
    ExtractImgFile(plan.templateLines, input.programFolder, input.settings.Style, folders.root,
                   input.policy);
    copyNavigationButtons(input.settings, folders.root, input.policy);

    input.policy.prepareFolder(folders.pages);
    ExtractImgFile(plan.templateLines, input.programFolder, input.settings.Style, folders.pages,
                   input.policy);
    const int pictureCount = layout.pictureCount;
    for (int picture = 1; picture <= pictureCount; ++picture) {
        if (frontend.stopRequested()) {
            return false;
        }
        frontend.processEvents();
        frontend.status("Generating picture page file page" + std::to_string(picture) + ".htm");
        GenPicPage(context, picture, pictureCount, folders.pages);
        frontend.processEvents();
        frontend.progress(progressPercent(picture, pictureCount));
    }
    frontend.status(std::string(kFinishedStatus));
    frontend.progress(0);
    return true;
}

void buildPreviewPages(const BuildPlan& plan, const PageInput& input) {
    const PageContext context = contextOf(plan, input);
    const OutputFolders& folders = plan.folders;
    copyNavigationButtons(input.settings, folders.root, input.policy);
    GenIndexPage(context, plan.layout.span(1), folders.root);
    ExtractImgFile(plan.templateLines, input.programFolder, input.settings.Style, folders.root,
                   input.policy);
    ExtractImgFile(plan.templateLines, input.programFolder, input.settings.Style, folders.pages,
                   input.policy);
    const int shown = static_cast<int>(plan.pictureCount);
    for (int picture = 1; picture <= shown; ++picture) {
        GenPicPage(context, picture, shown, folders.pages);
    }
}

} // namespace vellumar
