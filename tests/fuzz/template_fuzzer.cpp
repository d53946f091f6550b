// Style templates are files anyone can drop into the template folder: expanding one and
// finding its resource references must never crash, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "html/line_expander.h"
#include "html/resource_copy.h"
#include "html/template_file.h"
#include "project_error.h"
#include "text_util.h"

namespace {

class FuzzTokens : public vellumar::PageTokenHandler {
public:
    bool protectsPage() const override { return true; }
    vellumar::NavPosition navPosition() const override { return vellumar::NavPosition::Both; }
    std::string pageToken(std::string_view name) override { return std::string(name.substr(0, 8)); }
    void appendCells(const vellumar::TemplateLines& cellSection,
                     vellumar::TemplateLines& output) override {
        for (int cell = 0; cell < 3; ++cell) {
            vellumar::appendExpandedCells(
                cellSection, [](std::string_view name) { return std::string(name.substr(0, 4)); },
                output);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vellumar::TemplateLines lines = vellumar::splitLines(text);
    for (const std::string& line : lines) {
        vellumar::resourceReferences(line);
    }
    FuzzTokens tokens;
    try {
        vellumar::expandTemplate(lines, tokens);
    } catch (const vellumar::ProjectError&) {
        // A cell section without its end line is a template error, reported as such.
    }
    return 0;
}
