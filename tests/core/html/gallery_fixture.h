#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "html/page_context.h"
#include "model/gallery_settings.h"
#include "model/img_entry.h"
#include "model/output_policy.h"
#include "support/scratch_folder.h"
#include "support/scripted_frontend.h"

namespace vellumar::testing {

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

    PictureToJpeg toJpeg() {
        return [this](const std::string& picture, const std::string& jpeg) {
            conversions.push_back(picture);
            writeFile(jpeg, "JPEG of " + readFile(picture));
        };
    }

    ScratchFolder scratch;
    GallerySettings settings;
    std::vector<TImgEntry> entries;
    ScriptedFrontend frontend;
    std::vector<std::string> conversions;
};

} // namespace vellumar::testing
