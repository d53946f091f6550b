#include "index_page.h"

#include <stdexcept>

#include "color.h"
#include "file_io.h"
#include "html/cell_values.h"
#include "html/line_expander.h"
#include "html/metadata_tokens.h"
#include "html/nav_links.h"
#include "html/page_background.h"
#include "html/picture_candidates.h"
#include "integer_text.h"
#include "model/gallery_file_names.h"
#include "model/output_folders.h"
#include "path_text.h"

namespace vellumar {

namespace {

class IndexPageTokens : public PageTokenHandler {
public:
    IndexPageTokens(const PageContext& context, const IndexPageSpan& span,
                    const std::string& folder)
        : m_context(context), m_settings(context.settings), m_span(span), m_folder(folder) {}

    bool protectsPage() const override { return m_settings.ThumbProtect; }
    NavPosition navPosition() const override { return m_settings.IdxNavLink; }

    std::string pageToken(std::string_view name) override {
        if (name == "title") {
            return m_settings.PageTitle;
        }
        if (name == "page bg pic") {
            return placePageBackground(m_settings.IdxPageBGPic, m_folder, m_context);
        }
        if (name == "page bg color") {
            return colorOrNone(m_settings.IdxPageBGColor);
        }
        if (name == "table border") {
            return decimalSetting(m_settings.ThumbTableBorderWidth);
        }
        if (name == "table padding") {
            return decimalSetting(m_settings.ThumbTableCellPad);
        }
        if (name == "table space") {
            return decimalSetting(m_settings.ThumbTableCellSpace);
        }
        if (name == "table bg pic") {
            return placeTableBackground(m_settings.ThumbTableBGPic, m_folder, m_context);
        }
        if (name == "table bg color") {
            return colorOrNone(m_settings.ThumbTableBGColor);
        }
        if (name == "table border color") {
            return GetRGB(m_settings.ThumbTableBorderColor);
        }
        if (name == "page number") {
            return std::to_string(m_span.page);
        }
        if (name == "page count") {
            return std::to_string(m_span.pageCount);
        }
        return indexNavHtml(name, m_settings, m_span.page, m_span.pageCount);
    }

    // One table row per ThumbTableCol cells; a short last row stays open, as the template
    // closes the table itself.
    void appendCells(const TemplateLines& cellSection, TemplateLines& output) override {
        const int columns = toInteger(m_settings.ThumbTableCol);
        int column = 1;
        for (int picture = m_span.first; picture <= m_span.last; ++picture) {
            if (column == 1) {
                output.emplace_back("<tr>");
            }
            appendExpandedCells(
                cellSection, [&](std::string_view name) { return cellToken(name, picture); },
                output);
            if (column == columns) {
                output.emplace_back("</tr>");
                column = 1;
            } else {
                ++column;
            }
        }
    }

private:
    static std::string colorOrNone(const Switched<Color>& color) {
        return color.on ? GetRGB(color.value) : kEmptyAttribute;
    }

    std::string thumbHref(int picture) const {
        switch (m_settings.ThumbLink) {
        case ThumbLinkTarget::PicturePage:
            return m_context.links.toPages + picturePageFileName(picture);
        case ThumbLinkTarget::Picture:
            return largePictureAddress(picture);
        case ThumbLinkTarget::None:
            break;
        }
        return "#";
    }

    // The thumbnail and its double-size version as candidates of a srcset attribute, whose
    // list would be cut apart at a blank or comma of a prefix or suffix.
    std::string thumbSrcset(int picture) const {
        if (!m_settings.HiDpiThumbs) {
            return {};
        }
        return srcsetAddress(thumbnailAddress(m_settings, picture)) + " 1x, " +
               srcsetAddress(doubleSizeThumbnailAddress(m_settings, picture)) + " 2x";
    }

    std::string cellToken(std::string_view name, int picture) const {
        const TImgEntry& entry = m_context.entries[static_cast<std::size_t>(picture) - 1];
        if (name == "thumb width") {
            return sizeMinusOffset(entry.builtThumbWidth, m_settings.TopOffset);
        }
        if (name == "thumb height") {
            return sizeMinusOffset(entry.builtThumbHeight, m_settings.LeftOffset);
        }
        if (name == "thumb href") {
            return thumbHref(picture);
        }
        // The link around a thumbnail, left out where it would lead nowhere.
        if (name == "thumb link") {
            return m_settings.ThumbLink == ThumbLinkTarget::None
                       ? std::string()
                       : "<a href=\"" + thumbHref(picture) + "\">";
        }
        if (name == "thumb link end") {
            return m_settings.ThumbLink == ThumbLinkTarget::None ? std::string() : "</a>";
        }
        if (name == "thumb file") {
            return thumbnailAddress(m_settings, picture);
        }
        if (name == "thumb srcset") {
            return thumbSrcset(picture);
        }
        if (name == "thumb picture" || name == "thumb picture end") {
            return pictureElement(
                name, thumbnailSources(m_settings, picture, publishedExtrasOf(m_context, picture)));
        }
        if (name == "thumb alt") {
            return m_settings.ThumbInfoFromPicture ? entry.info : m_settings.ThumbALT;
        }
        // The first row is what a visitor sees first; the rest waits until it is scrolled to.
        if (name == "thumb loading") {
            return picture - m_span.first >= toInteger(m_settings.ThumbTableCol)
                       ? std::string(kLazyImageAttributes)
                       : std::string();
        }
        if (name == "thumb color") {
            return thumbnailToneText(m_context.thumbnailTones, picture);
        }
        if (name == "thumb title") {
            return m_settings.ThumbShowTitle ? entry.title : std::string();
        }
        if (name == "thumb size") {
            return m_settings.ThumbShowSize ? pictureSizeText(entry) : std::string();
        }
        return metadataToken(name, m_context, picture).value_or(std::string());
    }

    const PageContext& m_context;
    const GallerySettings& m_settings;
    const IndexPageSpan& m_span;
    const std::string& m_folder;
};

} // namespace

void GenIndexPage(const PageContext& context, const IndexPageSpan& span,
                  const std::string& folder) {
    if (span.first <= span.last &&
        (span.first < 1 || static_cast<std::size_t>(span.last) > context.entries.size())) {
        throw std::out_of_range("index page pictures outside the picture list");
    }
    const std::string destination = withTrailingSeparator(folder);
    IndexPageTokens tokens(context, span, destination);
    const TemplateLines page = expandTemplate(context.templateLines, tokens);
    const std::string path = destination + indexPageFileName(context.settings, span.page);
    if (context.policy.mayWrite(path)) {
        writeTextLines(path, page);
    }
}

} // namespace vellumar
