#include "picture_page.h"

#include <stdexcept>

#include "color.h"
#include "file_io.h"
#include "html/cell_values.h"
#include "html/index_layout.h"
#include "html/line_expander.h"
#include "html/metadata_tokens.h"
#include "html/nav_links.h"
#include "html/page_background.h"
#include "html/picture_candidates.h"
#include "model/gallery_file_names.h"
#include "model/output_folders.h"
#include "path_text.h"

namespace vellumar {

namespace {

class PicturePageTokens : public PageTokenHandler {
public:
    PicturePageTokens(const PageContext& context, int picture, int pictureCount,
                      const std::string& folder)
        : m_context(context), m_settings(context.settings), m_picture(picture),
          m_pictureCount(pictureCount), m_folder(folder),
          m_entry(context.entries[static_cast<std::size_t>(picture) - 1]) {}

    bool protectsPage() const override { return m_settings.ImageProtect; }
    NavPosition navPosition() const override { return m_settings.PageNav; }

    std::string pageToken(std::string_view name) override {
        if (name == "title") {
            return title();
        }
        if (name == "page bg pic") {
            return placePageBackground(m_settings.PageBGPic, m_folder, m_context);
        }
        if (name == "page bg color") {
            return m_settings.PageBGColor.on ? GetRGB(m_settings.PageBGColor.value)
                                             : kEmptyAttribute;
        }
        if (name == "table border" || name == "table padding" || name == "table space") {
            return "0";
        }
        if (name == "table bg pic" || name == "table bg color" || name == "table border color") {
            return kEmptyAttribute;
        }
        if (name == "pic index page") {
            return indexPageAddress();
        }
        if (name == "page number") {
            return std::to_string(m_picture);
        }
        if (name == "page count") {
            return std::to_string(m_pictureCount);
        }
        // The row of the page's one cell, which index pages get from their thumbnail rows.
        if (name == "pic row begin") {
            return "<tr>";
        }
        if (name == "pic row end") {
            return "</tr>";
        }
        if (auto value = metadataToken(name, m_context, m_picture)) {
            return *value;
        }
        return pictureNavHtml(name, m_settings, m_picture, m_pictureCount, m_context.links.toRoot);
    }

    // The cell that shows a thumbnail on the index pages shows the large picture here.
    void appendCells(const TemplateLines& cellSection, TemplateLines& output) override {
        appendExpandedCells(
            cellSection, [this](std::string_view name) { return cellToken(name); }, output);
    }

private:
    std::string title() const {
        if (!m_settings.PicPageShowIndex) {
            return m_settings.PageTitle;
        }
        return m_settings.PageTitle + "&nbsp&nbsp" + std::to_string(m_picture) + "&nbspof&nbsp" +
               std::to_string(m_pictureCount);
    }

    // The way back to the thumbnails: the index page that shows this picture.
    std::string indexPageAddress() const {
        const IndexLayout layout = indexLayout(m_settings, m_context.entries.size());
        return m_context.links.toRoot + indexPageFileName(m_settings, layout.pageOf(m_picture));
    }

    std::string cellToken(std::string_view name) const {
        if (name == "thumb width") {
            return sizeMinusOffset(m_entry.builtPicWidth, m_settings.TopOffset);
        }
        if (name == "thumb height") {
            return sizeMinusOffset(m_entry.builtPicHeight, m_settings.LeftOffset);
        }
        if (name == "thumb href") {
            return "#";
        }
        // The page is there to show the large picture: it loads at once, and shows its
        // thumbnail's colour until it does.
        if (name == "thumb loading") {
            return {};
        }
        if (name == "thumb color") {
            return thumbnailToneText(m_context.thumbnailTones, m_picture);
        }
        // The large picture is where the thumbnail's link ends: it links to nothing.
        if (name == "thumb link" || name == "thumb link end") {
            return {};
        }
        if (name == "thumb file") {
            return m_context.links.toRoot + largePictureAddress(m_picture);
        }
        // The large picture's smaller copies and other formats, for the browser to choose.
        const PublishedExtras& extras = publishedExtrasOf(m_context, m_picture);
        if (name == "thumb picture" || name == "thumb picture end") {
            return pictureElement(
                name, largePictureSources(m_picture, extras, m_entry.builtPicWidth,
                                          m_entry.builtPicHeight, m_context.links.toRoot));
        }
        if (name == "pic srcset") {
            return largePictureSrcset(m_picture, extras, m_entry.builtPicWidth,
                                      m_context.links.toRoot);
        }
        if (name == "pic sizes") {
            return largePictureSizes(extras, m_entry.builtPicWidth, m_entry.builtPicHeight);
        }
        if (name == "thumb title") {
            return m_settings.PicPageShowTitle ? m_entry.title : std::string();
        }
        if (name == "thumb size") {
            return pictureSizeText(m_entry);
        }
        if (name == "pic info") {
            return m_entry.info;
        }
        if (name == "pic alt") {
            return quotedAttributeText(m_entry.title);
        }
        return metadataToken(name, m_context, m_picture).value_or(std::string());
    }

    const PageContext& m_context;
    const GallerySettings& m_settings;
    int m_picture;
    int m_pictureCount;
    const std::string& m_folder;
    const TImgEntry& m_entry;
};

} // namespace

void GenPicPage(const PageContext& context, int picture, int pictureCount,
                const std::string& folder) {
    if (picture < 1 || static_cast<std::size_t>(picture) > context.entries.size()) {
        throw std::out_of_range("picture page outside the picture list");
    }
    const std::string destination = withTrailingSeparator(folder);
    PicturePageTokens tokens(context, picture, pictureCount, destination);
    const TemplateLines page = expandTemplate(context.templateLines, tokens);
    const std::string path = destination + picturePageFileName(picture);
    if (context.policy.mayWrite(path)) {
        writeTextLines(path, page);
    }
}

} // namespace vellumar
