#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "html/template_file.h"
#include "model/output_policy.h"

namespace vellumar {

// The image, style-sheet and script files a template line refers to, as written: each a
// quoted attribute value (="...") ending in ".gif", ".jpg", ".bmp", ".css" or ".js", the
// extension in any letter case.
std::vector<std::string> resourceReferences(std::string_view line);

// Copies every file the template refers to from programFolder + "template/" into
// destinationFolder, replacing files of the same name. A reference that is absolute or has a
// ".." part would reach outside those folders: it fails with a ProjectError before anything
// is copied.
void ExtractImgFile(const TemplateLines& lines, const std::string& programFolder,
                    const std::string& destinationFolder, const OutputPolicy& policy);

} // namespace vellumar
