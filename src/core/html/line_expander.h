#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "html/template_file.h"
#include "model/enums.h"

namespace vellumar {

// The replacement of one token name ("<%name%>" without the markers).
using TokenReplacer = std::function<std::string(std::string_view name)>;

// Expands the tokens of one line. A line without markers comes out unchanged; a remainder
// that holds a marker without its partner contributes nothing, so a line with only one kind
// of marker comes out empty.
std::string expandLine(std::string_view line, const TokenReplacer& replace);

// Appends each line of a cell section, expanded with the cell tokens.
void appendExpandedCells(const TemplateLines& cellSection, const TokenReplacer& cellToken,
                         TemplateLines& output);

// What a page kind (index page or picture page) gives the template expander.
class PageTokenHandler {
public:
    virtual ~PageTokenHandler() = default;

    // Whether the copy-protection script goes in before the page's "</head>" line.
    virtual bool protectsPage() const = 0;
    // Which navigation regions of the template open.
    virtual NavPosition navPosition() const = 0;
    // The replacement of a page token other than the region tokens and the cell begin
    // token. Navigation tokens reach it only while a region is open.
    virtual std::string pageToken(std::string_view name) = 0;
    // Appends the page's expanded cells, made from the template's cell section.
    virtual void appendCells(const TemplateLines& cellSection, TemplateLines& output) = 0;
};

// The script that blocks the browser's context menu, in the order it is inserted.
extern const std::array<std::string_view, 5> kProtectionLines;

// Expands a whole template into the lines of one page. A cell section without its end line
// fails with a ProjectError. Besides the navigation regions, a template may mark navigation
// bars ("top nav bar" ... "top nav bar end", the same for "bottom"): they open and close
// like the regions, and a bar that stays closed leaves out every line from the one holding
// its begin token to the one holding its end token.
TemplateLines expandTemplate(const TemplateLines& lines, PageTokenHandler& handler);

} // namespace vellumar
