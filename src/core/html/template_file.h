#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vellumar {

// A style template as the page generators hold it: one entry per line, line ends removed,
// blanks kept.
using TemplateLines = std::vector<std::string>;

// Splits 8-bit text into lines ending at CR, LF or CR LF; a NUL ends the text. A line end at
// the very end of the text does not start another line.
TemplateLines splitTemplateText(std::string_view text);

// programFolder + "template/" + style + ".htm"
std::string templateFilePath(const std::string& programFolder, const std::string& style);

// Reads the template of a style. Fails with a ProjectError naming the file when there is no
// style or the file cannot be read.
TemplateLines loadTemplate(const std::string& programFolder, const std::string& style);

} // namespace vellumar
