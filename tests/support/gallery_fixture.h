#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "html/page_context.h"
#include "html/page_folder_links.h"
#include "html/template_file.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"
#include "text_util.h"

namespace vellumar::testing {

// A style using every token of both page kinds, with a default section and a style sheet.
inline const std::vector<std::string> kPlainStyle = {
    "<html>",
    "<head>",
    "<title><%title%></title>",
    R"(<link rel="stylesheet" href="plain.css">)",
    "</head>",
    "<%default begin%>",
    "<%page bg pic=paper.gif%>",
    "<%default end%>",
    "<body background=<%page bg pic%> bgcolor=<%page bg color%>>",
    "<%top nav link%>",
    "<%nav home%><%nav index%><%nav first%><%nav previous%><%nav next%><%nav last%>",
    "<%top nav link end%>",
    "<table border=<%table border%> cellpadding=<%table padding%> cellspacing=<%table space%> "
    "background=<%table bg pic%> bgcolor=<%table bg color%> bordercolor=<%table border color%>>",
    "<%thumb cell begin%>",
    R"(<td><a href="<%thumb href%>"><img src="<%thumb file%>" width=<%thumb width%> )"
    R"(height=<%thumb height%> alt="<%thumb alt%>"></a><br><%thumb title%><br><%thumb size%>)"
    "<%pic info%></td>",
    "<%thumb cell end%>",
    "</table>",
    "<%bottom nav link%><%nav first%> | <%nav last%><%bottom nav link end%>",
    "</body>",
    "</html>",
};

// Joins lines the way generated pages end them.
inline std::string crlfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A program folder with one style, its files and button images, a destination folder, and
// pictures whose thumbnails and large pictures are recorded as built. JPEG conversion is
// stood in for by a marker text, as the picture builds are tested elsewhere.
class GalleryFixture : public ::testing::Test {
protected:
    GalleryFixture() {
        settings.DestFolder = dest();
        settings.Style = "plain";
        settings.Overwrite = OverwriteMode::Overwrite;
        const std::string buttons = program() + "button/";
        const char* names[] = {"home.gif", "index.gif", "first.gif",
                               "prev.gif", "next.gif",  "last.gif"};
        for (std::size_t kind = 0; kind < kNavLinkKindCount; ++kind) {
            writeFile(buttons + names[kind], std::string("button ") + names[kind]);
            for (NavLinkSet* set : {&settings.IdxNav, &settings.PageNavLinks}) {
                set->links[kind] = {buttons + names[kind],
                                    std::string(defaultNavLinkText(NavLinkKind(kind)))};
            }
        }
        settings.IdxNav[NavLinkKind::Home].file = std::string(kNotSelected);
        settings.PageNavLinks[NavLinkKind::Home].file = std::string(kNotSelected);
        settings.ThumbProtect = false;
        settings.ImageProtect = false;
    }

    // The plain style with its style sheet, as the template folder holds it.
    void installPlainStyle() {
        writeStyle(crlfText(kPlainStyle));
        writeFile(program() + "template/plain.css", "body {}");
    }

    std::string program() const { return scratch.folder() + "program/"; }
    std::string dest() const { return scratch.folder() + "gallery/"; }

    void writeStyle(const std::string& text, const std::string& name = "plain") {
        writeFile(program() + "template/" + name + ".htm", text);
    }

    // Pictures 1..count with 100 x 75 thumbnails and 640 x 480 large pictures.
    void addPictures(int count) {
        for (int n = 1; n <= count; ++n) {
            TImgEntry entry;
            entry.file = scratch.folder() + "photos/photo" + std::to_string(n) + ".jpg";
            entry.title = "photo" + std::to_string(n) + ".jpg";
            entry.info = "info " + std::to_string(n);
            entry.builtThumbWidth = 100;
            entry.builtThumbHeight = 75;
            entry.builtPicWidth = 640;
            entry.builtPicHeight = 480;
            writeFile(entry.file, "original " + std::to_string(n));
            entries.push_back(entry);
        }
    }

    // What the thumbnail and large-picture builds leave behind.
    void writeBuiltPictures() {
        for (std::size_t n = 1; n <= entries.size(); ++n) {
            writeFile(dest() + "thumb/" + settings.ThumbPrefix + std::to_string(n) +
                          settings.ThumbSuffix + ".jpg",
                      "thumb");
            writeFile(dest() + "pic/pic" + std::to_string(n) + ".jpg", "pic");
        }
    }

    PageContext pageContext(const OutputPolicy& policy) {
        return {settings, entries, style, pageFolderLinks(settings.PageSub.name),
                toJpeg(), policy,  {},    thumbnailTones};
    }

    // The lines of a written page, checking on the way that every line ends in CR LF.
    std::vector<std::string> pageLines(const std::string& path) {
        const std::string text = readFile(path);
        const std::vector<std::string> lines = splitLines(text);
        EXPECT_EQ(text, crlfText(lines)) << path;
        return lines;
    }

    PictureToJpeg toJpeg() {
        return [this](const std::string& picture, const std::string& jpeg) {
            conversions.push_back(picture);
            writeFile(jpeg, "JPEG of " + readFile(picture));
        };
    }

    ScratchFolder scratch;
    GallerySettings settings;
    TemplateLines style = kPlainStyle;
    std::vector<TImgEntry> entries;
    std::vector<std::optional<Color>> thumbnailTones;
    ScriptedFrontend frontend;
    std::vector<std::string> conversions;
};

} // namespace vellumar::testing
