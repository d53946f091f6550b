#include "harness/text_harness.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "file_io.h"
#include "frontend.h"
#include "html/line_expander.h"
#include "html/resource_copy.h"
#include "html/template_file.h"
#include "model/project_file.h"
#include "project_error.h"
#include "readers/picture_metadata.h"
#include "readers/svg_check.h"
#include "text_util.h"

namespace vellumar::fuzzing {

namespace {

class FuzzTokens : public PageTokenHandler {
public:
    bool protectsPage() const override { return true; }
    NavPosition navPosition() const override { return NavPosition::Both; }
    std::string pageToken(std::string_view name) override { return std::string(name.substr(0, 8)); }
    void appendCells(const TemplateLines& cellSection, TemplateLines& output) override {
        for (int cell = 0; cell < 3; ++cell) {
            appendExpandedCells(
                cellSection, [](std::string_view name) { return std::string(name.substr(0, 4)); },
                output);
        }
    }
};

} // namespace

void loadProjectFile(Bytes bytes) {
    const std::string path = "/tmp/vellumar-fuzz-" + std::to_string(::getpid()) + ".vlm";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    SilentFrontend frontend;
    PictureList list;
    GallerySettings settings;
    if (LoadProject(path, list, settings, {"Classic", "Paper"}, frontend)) {
        projectText(list, settings, "fuzz.vlm");
    }
}

void checkSvgFile(Bytes bytes) {
    const std::string path = "/tmp/vellumar-fuzz-" + std::to_string(::getpid()) + ".svg";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    isSvgPicture(ReadOnlyFile(path));
}

void expandTemplateText(Bytes bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const TemplateLines lines = splitLines(text);
    for (const std::string& line : lines) {
        resourceReferences(line);
    }
    FuzzTokens tokens;
    try {
        expandTemplate(lines, tokens);
    } catch (const ProjectError&) {
        // A cell section without its end line is a template error, reported as such.
    }
}

void readMetadata(Bytes bytes) {
    const PictureMetadata metadata = readEmbeddedMetadata(bytes);
    if (metadata.orientation < 1 || metadata.orientation > 8 ||
        metadata.description.size() > 64 * 1024) {
        std::abort();
    }
    if (metadata.dateTaken && dateTakenText(*metadata.dateTaken).size() != 16) {
        std::abort();
    }
}

} // namespace vellumar::fuzzing
